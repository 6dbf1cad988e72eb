#include "TestSupport.h"

#include "control/Fields.h"

namespace ramvel::test {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Show(std::u16string_view text) {
    std::string out;
    for (char c : Utf8(text)) {
        if (c == '\t') out += "<TAB>";
        else if (c == '\x01') out += "<SOH>";
        else if (c == '\n') out += "<LF>";
        else out += c;
    }
    return out;
}

void PrintTo(const RaisedEvent& event, std::ostream* out) {
    *out << "{" << static_cast<int>(event.id) << ", \"" << Show(event.arg) << "\"}";
}

void PrintTo(const ShownBox& box, std::ostream* out) {
    *out << "{\"" << Show(box.caption) << "\", \"" << Show(box.text) << "\", icon " << static_cast<int>(box.icon) << "}";
}

std::vector<NodeHandle> FakeTreeWidget::VisibleRows() const {
    std::vector<NodeHandle> rows;
    const TreeModel& tree = control_.Tree();
    // Pre-order over nodes whose ancestors are all expanded.
    std::vector<NodeHandle> pending;
    for (NodeHandle n = tree.FirstRoot(); n != 0; n = tree.NextSibling(*tree.Find(n))) pending.insert(pending.begin(), n);
    while (!pending.empty()) {
        NodeHandle n = pending.back();
        pending.pop_back();
        rows.push_back(n);
        const Node& node = *tree.Find(n);
        if (!node.expanded) continue;
        std::vector<NodeHandle> children;
        for (NodeHandle c = tree.FirstChild(node); c != 0; c = tree.NextSibling(*tree.Find(c))) children.push_back(c);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return rows;
}

int FakeTreeWidget::RowOf(NodeHandle node) const {
    std::vector<NodeHandle> rows = VisibleRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == node) return static_cast<int>(i);
    return -1;
}

NodeHandle FakeTreeWidget::HitTest(int, int y) const {
    std::vector<NodeHandle> rows = VisibleRows();
    int row = y / kRowHeight;
    return y >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : 0;
}

void FakeTreeWidget::Select(NodeHandle node) {
    const TreeModel& tree = control_.Tree();
    for (NodeHandle a = tree.Parent(*tree.Find(node)); a != 0;) {
        const Node* ancestor = tree.Find(a);
        if (!ancestor) return;  // removed by a host handler meanwhile
        NodeHandle next = tree.Parent(*ancestor);
        if (!ancestor->expanded) control_.WidgetExpansionChanged(a, true);
        a = next;
    }
    if (tree.Contains(node)) control_.WidgetSelectionChanged(node);
}

void RecordingSink::RaiseText(EventId id, const std::u16string& text) {
    events.push_back({id, text});
    if (onEvent) onEvent(events.back());
}

void RecordingSink::Raise(EventId id, bool) {
    events.push_back({id, u""});
    if (onEvent) onEvent(events.back());
}

void RecordingSink::RaiseKey(EventId id, std::int16_t& key) {
    events.push_back({id, IntToStr(key)});
    if (changeKey) key = keyReply;
    if (onEvent) onEvent(events.back());
}

ControlTest::ControlTest() {
    // Fresh module-wide variables; handles stay unique across tests, as across controls.
    ModuleState& module = Module();
    module.ClearLevelTable();
    module.busy = false;
    module.storedNode = 0;
    module.showImages = true;
    control.AttachWidget(widget);
    control.FormCreate();
    control.SetEventSink(sink);
}

ControlTest::~ControlTest() { Module().busy = false; }

std::u16string ControlTest::Info(std::int32_t index, NodeHandle handle, std::u16string_view details) {
    std::u16string info = IntToStr(index);
    info += kSOH;
    info += IntToStr(handle);
    info += kSOH;
    info += details;
    return info;
}

NodeHandle ControlTest::HandleIn(std::u16string_view info) { return StrToInt(ExtractField(info, 2, kSOH)); }

}  // namespace ramvel::test
