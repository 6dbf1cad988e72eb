// Node lines in, node records kept, node info text out.
#include "control/Fields.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"

namespace ramvel {

void TMyRamvel::ApplyNodeLine(NodeHandle handle, std::u16string_view line) {
    ApplyNodeLine(tree_.Get(handle), LineFields(line, kTAB));
}

void TMyRamvel::ApplyNodeLine(Node& node, const LineFields& fields, std::optional<std::u16string_view> newText) {
    const std::u16string_view images = fields.IfPresent(3);
    const std::u16string_view selected = fields.IfPresent(4);
    const std::u16string_view state = fields.IfPresent(5);

    // The fields convert into these first; the node takes them once its record is stored, so
    // that running out of memory for the record leaves the node as it was.
    std::int32_t image = node.image, selectedImage = node.selectedImage, stateImage = node.stateImage;
    bool imagesApplied = false;
    // The node gets its record whatever happens below, so that every node always has one:
    // after a field that does not convert, it records what was applied up to there.
    auto store = [&] {
        std::u16string& record = recordScratch_;
        record.clear();
        record.append(fields[1]).append(1, kSOH);
        if (imagesApplied) record.append(images);
        record.append(1, kTAB);
        AppendInt(record, selectedImage);
        record.append(1, kSOH).append(fields.IfPresent(6));
        if (newText) tree_.SetTexts(node, *newText, record);
        else tree_.SetRecord(node, record);
        node.image = image;
        node.selectedImage = selectedImage;
        node.stateImage = stateImage;
    };
    try {
        if (!images.empty()) {
            if (CountFields(images, kComma) == 1)
                image = StrToInt(images);
            else
                image = StrToInt(ExtractField(images, node.expanded ? 2 : 1, kComma));
            imagesApplied = true;
        }
        selectedImage = selected.empty() ? -1 : StrToInt(selected);
        stateImage = state.empty() ? -1 : StrToInt(state);
    } catch (const RamvelError&) {
        store();
        TView->NodeChanged(node.handle);
        throw;
    }
    store();
    if (tree_.Selected() == node.handle && node.selectedImage == -1) node.selectedImage = node.image;
    TView->NodeChanged(node.handle);
    // Drawn at the next opportunity: a host that adds lines one by one pays one paint, not one
    // a line.
    TView->Invalidate();
}

std::u16string TMyRamvel::BuildNodeInfo(NodeHandle handle) { return BuildNodeInfo(tree_.Get(handle)); }

std::u16string TMyRamvel::BuildNodeInfo(Node& node) { return BuildNodeInfo(node, tree_.IndexOf(node)); }

std::u16string TMyRamvel::BuildNodeInfo(Node& node, std::int32_t index) {
    const RecordParts record(node.Record(), kSOH);
    std::u16string info;
    info.reserve(node.textLength + node.recordLength + 32);
    AppendInt(info, index);
    info += kSOH;
    AppendInt(info, node.handle);
    info += kSOH;
    info.append(record[1]).append(1, kTAB);
    info.append(node.Text()).append(1, kTAB);
    info.append(record[2]).append(1, kTAB);
    AppendInt(info, node.stateImage);
    info.append(1, kTAB).append(record[3]);
    return info;
}

std::u16string TMyRamvel::AddAfterNodeReply(NodeHandle handle) {
    Node& node = tree_.Get(handle);
    std::u16string reply(1, kSOH);
    AppendInt(reply, node.handle);
    reply += kSOH;
    const RecordParts record(node.Record(), kSOH);
    reply.append(record[1]).append(1, kTAB);
    reply.append(node.Text()).append(1, kTAB);
    reply.append(ExtractField(record[2], 1, kTAB)).append(1, kTAB);
    AppendInt(reply, node.selectedImage);
    reply += kTAB;
    AppendInt(reply, node.stateImage);
    reply.append(1, kTAB).append(record[3]);
    return reply;
}

}  // namespace ramvel
