#pragma once
// The ordered forest of nodes behind one control: parent/child links, handles, levels,
// node records, images, expanded state, the single selection and pre-order node indexes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/TreeWidget.h"

namespace ramvel {

struct Node {
    std::u16string text;
    std::u16string record;         // recorded level SOH image spec TAB selected SOH host data
    std::uintptr_t widgetItem = 0;  // the widget's own cookie for this node
    NodeHandle handle = 0;
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    std::uint32_t parent = kNoSlot, firstChild = kNoSlot, lastChild = kNoSlot;
    std::uint32_t prevSibling = kNoSlot, nextSibling = kNoSlot;
    std::uint32_t slot = 0;         // place in the tree's node storage
    std::uint32_t childCount = 0;
    std::uint32_t level = 0;
    std::uint32_t index = 0;        // pre-order position, valid while the order cache is
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    std::int32_t stateImage = -1;
    bool expanded = false;
    bool hasRecord = false;
};

class TreeModel {
public:
    static constexpr std::uint32_t kNone = Node::kNoSlot;

    TreeModel() = default;
    ~TreeModel();
    TreeModel(const TreeModel&) = delete;
    TreeModel& operator=(const TreeModel&) = delete;

    // Adds a node as the last child of `parent` (0: as the last root). Returns its handle.
    NodeHandle Add(NodeHandle parent, std::u16string text);
    // Removes the node and its subtree; returns the widget cookie the node carried.
    std::uintptr_t Remove(NodeHandle node);
    void Clear();

    std::int32_t Count() const { return static_cast<std::int32_t>(used_ - free_.size()); }
    // Makes room for `count` more nodes ahead of a batch.
    void Reserve(std::size_t count);

    // The node a handle names in this tree, or null (0, dead, or another tree's node).
    Node* Find(NodeHandle handle);
    const Node* Find(NodeHandle handle) const;
    // Like Find, but throws RamvelError for a handle that names no node of this tree.
    Node& Get(NodeHandle handle);
    bool Contains(NodeHandle handle) const { return Find(handle) != nullptr; }

    // Node at a pre-order index; throws "Index incorrect" outside 0..Count()-1.
    Node& At(std::int32_t index);
    std::int32_t IndexOf(const Node& node);

    NodeHandle Parent(const Node& node) const { return HandleOf(node.parent); }
    Node* ParentOf(const Node& node) { return node.parent == kNone ? nullptr : &NodeIn(node.parent); }
    NodeHandle FirstChild(const Node& node) const { return HandleOf(node.firstChild); }
    NodeHandle LastChild(const Node& node) const { return HandleOf(node.lastChild); }
    NodeHandle NextSibling(const Node& node) const { return HandleOf(node.nextSibling); }
    NodeHandle FirstRoot() const { return HandleOf(firstRoot_); }

    NodeHandle Selected() const { return selected_; }
    void SetSelected(NodeHandle node) { selected_ = node; }

    // Visits every node in pre-order.
    template <typename F>
    void ForEachInOrder(F&& visit) {
        EnsureOrder();
        for (std::uint32_t slot : order_) visit(NodeIn(slot));
    }

private:
    // Nodes live in fixed blocks, so a Node& stays valid while other nodes come and go.
    static constexpr int kBlockBits = 12;
    static constexpr std::uint32_t kBlockSize = 1u << kBlockBits;
    Node& NodeIn(std::uint32_t slot) { return blocks_[slot >> kBlockBits][slot & (kBlockSize - 1)]; }
    const Node& NodeIn(std::uint32_t slot) const { return blocks_[slot >> kBlockBits][slot & (kBlockSize - 1)]; }
    NodeHandle HandleOf(std::uint32_t slot) const { return slot == kNone ? 0 : NodeIn(slot).handle; }
    std::uint32_t NewSlot();
    bool EndsOrder(std::uint32_t slot) const;
    void EnsureOrder();
    void Unlink(Node& node);

    std::vector<std::unique_ptr<Node[]>> blocks_;
    std::uint32_t used_ = 0;            // slots handed out so far, free ones included
    std::vector<std::uint32_t> free_;
    std::vector<std::uint32_t> order_;  // slots in pre-order
    bool orderValid_ = true;
    std::uint32_t firstRoot_ = kNone, lastRoot_ = kNone;
    NodeHandle selected_ = 0;
};

}  // namespace ramvel
