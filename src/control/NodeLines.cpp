// Node lines in, node records kept, node info text out.
#include "control/Fields.h"
#include "control/MyRamvel.h"

namespace ramvel {

namespace {

// Field i of a line, or the empty text when the line has fewer than i fields.
std::u16string_view FieldOrEmpty(std::u16string_view line, int fieldCount, int i) {
    return fieldCount >= i ? ExtractField(line, i, kTAB) : std::u16string_view{};
}

}  // namespace

void TMyRamvel::ApplyNodeLine(NodeHandle handle, std::u16string_view line) {
    const int n = CountFields(line, kTAB);
    const std::u16string_view spec = FieldOrEmpty(line, n, 3);
    const std::u16string_view selected = FieldOrEmpty(line, n, 4);
    const std::u16string_view state = FieldOrEmpty(line, n, 5);
    Node& node = tree_.Get(handle);

    bool specApplied = false;
    // The node gets its record whatever happens below, so that every node always has one:
    // after a field that does not convert, it records what was applied up to there.
    auto writeRecord = [&] {
        node.record.clear();
        node.record.append(ExtractField(line, 1, kTAB)).append(1, kSOH);
        if (specApplied) node.record.append(spec);
        node.record.append(1, kTAB);
        AppendInt(node.record, node.selectedImage);
        node.record.append(1, kSOH).append(FieldOrEmpty(line, n, 6));
        node.hasRecord = true;
    };
    try {
        if (!spec.empty()) {
            if (CountFields(spec, kComma) == 1)
                node.image = StrToInt(spec);
            else
                node.image = StrToInt(ExtractField(spec, node.expanded ? 2 : 1, kComma));
            specApplied = true;
        }
        node.selectedImage = selected.empty() ? -1 : StrToInt(selected);
        node.stateImage = state.empty() ? -1 : StrToInt(state);
    } catch (...) {
        writeRecord();
        TView->NodeChanged(handle);
        throw;
    }
    writeRecord();
    if (tree_.Selected() == handle && node.selectedImage == -1) node.selectedImage = node.image;
    TView->NodeChanged(handle);
    TView->Repaint();
}

std::u16string TMyRamvel::BuildNodeInfo(NodeHandle handle) {
    Node& node = tree_.Get(handle);
    std::u16string info;
    info.reserve(node.text.size() + node.record.size() + 32);
    AppendInt(info, tree_.IndexOf(node));
    info += kSOH;
    AppendInt(info, node.handle);
    info += kSOH;
    info.append(ExtractField(node.record, 1, kSOH)).append(1, kTAB);
    info.append(node.text).append(1, kTAB);
    info.append(ExtractField(node.record, 2, kSOH)).append(1, kTAB);
    AppendInt(info, node.stateImage);
    info.append(1, kTAB).append(ExtractField(node.record, 3, kSOH));
    return info;
}

std::u16string TMyRamvel::AddAfterNodeReply(NodeHandle handle) {
    Node& node = tree_.Get(handle);
    std::u16string reply(1, kSOH);
    AppendInt(reply, node.handle);
    reply += kSOH;
    reply.append(ExtractField(node.record, 1, kSOH)).append(1, kTAB);
    reply.append(node.text).append(1, kTAB);
    reply.append(ExtractField(ExtractField(node.record, 2, kSOH), 1, kTAB)).append(1, kTAB);
    AppendInt(reply, node.selectedImage);
    reply += kTAB;
    AppendInt(reply, node.stateImage);
    reply.append(1, kTAB).append(ExtractField(node.record, 3, kSOH));
    return reply;
}

}  // namespace ramvel
