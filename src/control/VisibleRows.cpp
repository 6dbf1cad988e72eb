#include "control/VisibleRows.h"

namespace ramvel {

bool VisibleRows::IsShown(const Node& node) const {
    for (const Node* up = Find(tree_.Parent(node)); up; up = Find(tree_.Parent(*up)))
        if (!up->expanded) return false;
    return true;
}

std::uint32_t VisibleRows::RowOf(const Node& node) const {
    std::uint32_t row = 0;
    for (const Node* at = &node; at;) {
        const Node* parent = Find(tree_.Parent(*at));
        const std::uint32_t listRows = parent ? parent->childRows : tree_.Rows();
        // Rows before `at` in its list: counted from the front or, when that end comes first,
        // as the list's rows less those from `at` to the back.
        std::uint32_t before = 0, fromHere = TreeModel::RowsOf(*at);
        const Node* back = Find(tree_.NextSibling(*at));
        for (const Node* front = Find(tree_.PrevSibling(*at));; ) {
            if (!front) break;
            if (!back) {
                before = listRows - fromHere;
                break;
            }
            before += TreeModel::RowsOf(*front);
            fromHere += TreeModel::RowsOf(*back);
            front = Find(tree_.PrevSibling(*front));
            back = Find(tree_.NextSibling(*back));
        }
        row += before + (parent ? 1 : 0);
        at = parent;
    }
    return row;
}

const Node* VisibleRows::NodeAt(std::uint32_t row) const {
    if (row >= Count()) return nullptr;
    std::uint32_t listRows = Count();
    NodeHandle first = tree_.FirstRoot(), last = tree_.LastRoot();
    for (;;) {
        // `row` counts from the start of the list; walk from the nearer end.
        const Node* node = nullptr;
        if (row < listRows / 2) {
            for (node = Find(first); row >= TreeModel::RowsOf(*node); node = Find(tree_.NextSibling(*node)))
                row -= TreeModel::RowsOf(*node);
        } else {
            std::uint32_t start = listRows;  // the row at which `node` starts
            for (node = Find(last);; node = Find(tree_.PrevSibling(*node))) {
                start -= TreeModel::RowsOf(*node);
                if (start <= row) break;
            }
            row -= start;
        }
        if (row == 0) return node;
        --row;
        listRows = node->childRows;
        first = tree_.FirstChild(*node);
        last = tree_.LastChild(*node);
    }
}

const Node* VisibleRows::Next(const Node& node) const {
    if (node.expanded)
        if (const Node* child = Find(tree_.FirstChild(node))) return child;
    for (const Node* at = &node; at; at = Find(tree_.Parent(*at)))
        if (const Node* next = Find(tree_.NextSibling(*at))) return next;
    return nullptr;
}

const Node* VisibleRows::Previous(const Node& node) const {
    const Node* previous = Find(tree_.PrevSibling(node));
    if (!previous) return Find(tree_.Parent(node));
    while (previous->expanded)
        if (const Node* last = Find(tree_.LastChild(*previous))) previous = last;
        else break;
    return previous;
}

}  // namespace ramvel
