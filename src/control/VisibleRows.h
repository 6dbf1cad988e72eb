#pragma once
// The rows a tree shows: every node whose ancestors are all open, in pre-order. Row numbers
// come from the model's row counts; a lookup walks one list of siblings per level, from
// whichever end of the list is nearer.
#include <cstdint>

#include "control/TreeModel.h"

namespace ramvel {

class VisibleRows {
public:
    explicit VisibleRows(const TreeModel& tree) : tree_(tree) {}

    std::uint32_t Count() const { return tree_.Rows(); }
    // Whether every ancestor of the node is open.
    bool IsShown(const Node& node) const;
    // The row of a shown node.
    std::uint32_t RowOf(const Node& node) const;
    // The node on `row`, or null past the last row.
    const Node* NodeAt(std::uint32_t row) const;
    // The shown node after, or before, a shown node; null at either end.
    const Node* Next(const Node& node) const;
    const Node* Previous(const Node& node) const;

private:
    const Node* Find(NodeHandle handle) const { return tree_.Find(handle); }
    const TreeModel& tree_;
};

}  // namespace ramvel
