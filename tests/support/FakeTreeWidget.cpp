#include "FakeTreeWidget.h"

namespace ramvel::test {

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
    // As the tree view does: open the outermost closed ancestor, report it, look again (the
    // host may have changed the tree meanwhile), until the node is in view.
    for (;;) {
        const Node* target = tree.Find(node);
        if (!target) return;
        NodeHandle closed = 0;
        for (NodeHandle up = tree.Parent(*target); up != 0; up = tree.Parent(*tree.Find(up)))
            if (!tree.Find(up)->expanded) closed = up;
        if (closed == 0) break;
        control_.WidgetExpansionChanged(closed, true);
        // A report that left the node closed would loop for ever: the host decided otherwise.
        if (const Node* again = tree.Find(closed); again && !again->expanded) return;
    }
    control_.WidgetSelectionChanged(node);
}

}  // namespace ramvel::test
