// Node lines in, node records kept, node info text out.
#include "control/Fields.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"
#include "control/TextJoin.h"

namespace ramvel {

void TMyRamvel::ApplyNodeLine(NodeHandle handle, std::u16string_view line) {
    ApplyNodeLine(tree_.Get(handle), LineFields(line, kTAB));
}

void TMyRamvel::ApplyNodeLine(Node& node, const LineFields& fields, std::optional<std::u16string_view> newText) {
    const std::u16string_view images = fields.IfPresent(3);
    const std::u16string_view selected = fields.IfPresent(4);
    const std::u16string_view state = fields.IfPresent(5);

    // Everything that does not need the node comes before its first read: in a big tree the
    // node is a cache miss, and this work then runs while the node is on its way. Images are
    // one for both states, or the closed one then the open one.
    const FieldSplit<2> pair(images, kComma);
    const std::optional<std::int32_t> closed = TryStrToInt(pair[1]);
    const std::optional<std::int32_t> open = pair.Count() == 1 ? closed : TryStrToInt(pair[2]);
    const std::optional<std::int32_t> selectedValue = selected.empty() ? -1 : TryStrToInt(selected);
    const std::optional<std::int32_t> stateValue = state.empty() ? -1 : TryStrToInt(state);
    std::u16string& record = recordScratch_;
    auto buildRecord = [&](std::u16string_view recordedImages, std::int32_t recordedSelected) {
        JoinInto(record, fields[1], kSOH, recordedImages, kTAB, recordedSelected, kSOH, fields.IfPresent(6));
    };
    const bool whole = (images.empty() || (closed && open)) && selectedValue && stateValue;
    if (whole) buildRecord(images, *selectedValue);

    // The fields apply in order up to the first that does not convert. The node takes them once
    // its record is stored, so that running out of memory for the record leaves it as it was.
    std::int32_t image = node.image, selectedImage = node.selectedImage, stateImage = node.StateImage();
    std::optional<std::u16string_view> failed;  // the first field that does not convert
    bool imagesApplied = false;
    if (!images.empty()) {
        const bool useOpen = pair.Count() > 1 && node.expanded;
        if (const std::optional<std::int32_t> chosen = useOpen ? open : closed) image = *chosen, imagesApplied = true;
        else failed = useOpen ? pair[2] : pair[1];
    }
    if (!failed) {
        if (selectedValue) selectedImage = *selectedValue;
        else failed = selected;
    }
    if (!failed) {
        if (stateValue) stateImage = *stateValue;
        else failed = state;
    }
    // Every node always has a record: after a field that does not convert, it records what was
    // applied up to there.
    if (!whole) buildRecord(imagesApplied ? images : std::u16string_view{}, selectedImage);
    if (newText) tree_.SetTexts(node, *newText, record);
    else tree_.SetRecord(node, record);
    node.image = image;
    node.selectedImage = selectedImage;
    node.SetStateImage(stateImage);
    if (failed) {
        TView->NodeChanged(node.handle);
        StrToInt(*failed);  // throws the field's own error
    }
    if (tree_.Selected() == node.handle && node.selectedImage == -1) node.selectedImage = node.image;
    TView->NodeChanged(node.handle);
    // Drawn at the next opportunity: a host that adds lines one by one pays one paint, not one
    // a line.
    TView->Invalidate();
}

std::u16string TMyRamvel::BuildNodeInfo(NodeHandle handle) { return BuildNodeInfo(tree_.Get(handle)); }

std::u16string TMyRamvel::BuildNodeInfo(Node& node) {
    TreeModel::IndexedTexts texts;
    texts.entry = node.entry;
    texts.handle = node.handle;
    return BuildNodeInfo(texts, tree_.IndexOf(node));
}

std::u16string TMyRamvel::BuildNodeInfo(const TreeModel::IndexedTexts& node, std::int32_t index) {
    const EntryHeader header = node.Header();
    const RecordParts record(node.Record(), kSOH);
    return Join(index, kSOH, node.handle, kSOH, record[1], kTAB, node.Text(), kTAB, record[2], kTAB, header.stateImage,
                kTAB, record[3]);
}

std::u16string TMyRamvel::AddAfterNodeReply(NodeHandle handle) {
    Node& node = tree_.Get(handle);
    const RecordParts record(node.Record(), kSOH);
    return Join(kSOH, node.handle, kSOH, record[1], kTAB, node.Text(), kTAB, ExtractField(record[2], 1, kTAB), kTAB,
                node.selectedImage, kTAB, node.StateImage(), kTAB, record[3]);
}

}  // namespace ramvel
