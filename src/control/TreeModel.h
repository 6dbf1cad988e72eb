#pragma once
// The ordered forest of nodes behind one control: parent/child links, handles, levels,
// node records, images, expanded state, the single selection and pre-order node indexes.
#include <cstdint>
#include <string>
#include <vector>

#include "control/BlockArray.h"
#include "control/NodeTexts.h"
#include "control/OrderIndex.h"
#include "control/TreeHandles.h"
#include "platform/TreeWidget.h"

namespace ramvel {

// A node: its text, node record (recorded level SOH images field TAB selected SOH host data)
// and state image live in the tree's NodeTexts, where NodeText reads them.
// Siblings are chained forward from the first; backward they close a ring, the first one's
// prevSibling being the last one, so a parent finds its last child through its first.
struct Node : NodeText {
    NodeHandle handle = 0;
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    std::uint32_t parent = kNoSlot, firstChild = kNoSlot;
    std::uint32_t prevSibling = kNoSlot, nextSibling = kNoSlot;
    // A tree holds fewer than 2^31 nodes (a handle each), so counts and indexes leave a bit
    // for a flag.
    std::uint32_t childCount : 31 = 0;
    std::uint32_t expanded : 1 = false;  // changed through TreeModel::SetExpanded
    // Rows its children take on screen while it is open: each child's own row, and the rows
    // of each open child's children. Kept whether the node is open or not.
    std::uint32_t childRows = 0;
    std::uint32_t index : 31 = 0;  // pre-order position, valid while the flat order is
    std::uint32_t hasRecord : 1 = false;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
};
// Three quarters of a cache line: a node read in a big tree is one memory round trip, or two
// side by side.
static_assert(sizeof(Node) <= 48);

class TreeModel {
public:
    static constexpr std::uint32_t kNone = Node::kNoSlot;

    // Handles come from the module's table, or from `handles` (tests start one near its end).
    TreeModel();
    explicit TreeModel(HandleTable& handles);
    ~TreeModel();
    TreeModel(const TreeModel&) = delete;
    TreeModel& operator=(const TreeModel&) = delete;

    // Adds a node as the last child of `parent` (0: as the last root). Returns its handle.
    // Out of memory, it throws std::bad_alloc and changes nothing.
    NodeHandle Add(NodeHandle parent, std::u16string_view text);
    // Texts of a node: the shown text (its record is kept) or its record.
    void SetText(Node& node, std::u16string_view text);
    // A new shown text and record: the old ones are released in one step.
    void SetTexts(Node& node, std::u16string_view text, std::u16string_view record);
    void SetRecord(Node& node, std::u16string_view record);
    void ReleaseRecord(Node& node);
    // Removes the node and its subtree. Out of memory, it throws std::bad_alloc and changes
    // nothing.
    void Remove(NodeHandle node);
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
    // The texts of that node, with its state image, and its handle: the entry from the flat
    // copy, read side by side with the node, not after it.
    struct IndexedTexts : NodeText {
        NodeHandle handle = 0;
    };
    IndexedTexts TextsAt(std::int32_t index);
    std::int32_t IndexOf(const Node& node);

    NodeHandle Parent(const Node& node) const { return HandleOf(node.parent); }
    Node* ParentOf(const Node& node) { return node.parent == kNone ? nullptr : &NodeIn(node.parent); }
    NodeHandle FirstChild(const Node& node) const { return HandleOf(node.firstChild); }
    NodeHandle LastChild(const Node& node) const { return HandleOf(LastOf(node.firstChild)); }
    NodeHandle NextSibling(const Node& node) const { return HandleOf(node.nextSibling); }
    NodeHandle FirstRoot() const { return HandleOf(firstRoot_); }

    // Characters the live texts and records take, their terminators included.
    std::size_t TextChars() const { return texts_.LiveChars(); }

    // Opens or closes a node, keeping the row counts.
    void SetExpanded(Node& node, bool expanded);
    // Rows a node takes on screen when it is shown: its own and, open, its children's.
    static std::uint32_t RowsOf(const Node& node) { return 1 + (node.expanded ? node.childRows : 0); }
    // Rows of the whole tree on screen: every node whose ancestors are all open.
    std::uint32_t Rows() const { return rootRows_; }
    // Changes whenever a row comes, goes or moves: a row number found at one version holds
    // while the version does.
    std::uint32_t RowsVersion() const { return rowsVersion_; }
    // The ring's way back from the first sibling leads to the last one, which has no next.
    NodeHandle PrevSibling(const Node& node) const {
        const Node& previous = NodeIn(node.prevSibling);
        return previous.nextSibling == kNone ? 0 : previous.handle;
    }
    NodeHandle LastRoot() const { return HandleOf(LastOf(firstRoot_)); }

    NodeHandle Selected() const { return selected_; }
    void SetSelected(NodeHandle node) { selected_ = node; }

    // Visits every node in pre-order.
    template <typename F>
    void ForEachInOrder(F&& visit) {
        if (flatValid_) {
            for (std::uint32_t slot : flat_) visit(NodeIn(slot));
        } else {
            order_.ForEach([&](std::uint32_t slot) { visit(NodeIn(slot)); });
        }
    }

    // Whether lookups are answered by the flat copy of the order (for tests).
    bool FlatOrderValid() const { return flatValid_; }
    // Whether the counted tree of the order is kept (for tests).
    bool OrderTreeKept() const { return treeValid_; }
    // Drops the flat copy: lookups go through the tree until enough of them pay for a new one.
    // Out of memory for the tree, it throws std::bad_alloc and changes nothing.
    void DropFlatOrder();

private:
    // Nodes live in fixed 2 MB blocks, so a Node& stays valid while other nodes come and go.
    static constexpr std::uint32_t kBlockSize = (2u << 20) / sizeof(Node);
    Node& NodeIn(std::uint32_t slot) { return blocks_[slot / kBlockSize][slot % kBlockSize]; }
    const Node& NodeIn(std::uint32_t slot) const { return blocks_[slot / kBlockSize][slot % kBlockSize]; }
    void CompactTexts() noexcept;
    // Visits `top` and its descendants in pre-order by their links, without allocating. The
    // visit may release nodes, as long as it leaves their links.
    template <typename F>
    void ForEachInSubtree(std::uint32_t top, F&& visit) {
        for (std::uint32_t slot = top;;) {
            Node& node = NodeIn(slot);
            visit(node, slot);
            if (node.firstChild != kNone) {
                slot = node.firstChild;
                continue;
            }
            while (slot != top && NodeIn(slot).nextSibling == kNone) slot = NodeIn(slot).parent;
            if (slot == top) return;
            slot = NodeIn(slot).nextSibling;
        }
    }
    NodeHandle HandleOf(std::uint32_t slot) const { return slot == kNone ? 0 : NodeIn(slot).handle; }
    // The last of the siblings that start at `first` (kNone: none).
    std::uint32_t LastOf(std::uint32_t first) const { return first == kNone ? kNone : NodeIn(first).prevSibling; }
    // Where the first child of a parent (kNone: the first root) is kept.
    std::uint32_t& FirstOf(std::uint32_t parent) { return parent == kNone ? firstRoot_ : NodeIn(parent).firstChild; }
    // The slot of the node a handle names; throws RamvelError like Get.
    std::uint32_t SlotOf(NodeHandle handle) const;
    std::uint32_t NewSlot();
    bool EndsOrder(std::uint32_t slot) const;
    // Where a new last child of `parentSlot` goes in the pre-order sequence.
    std::size_t PositionForNewChild(std::uint32_t parentSlot) const;
    void Unlink(std::uint32_t slot);

    TreeHandles handles_;
    std::vector<Node*> blocks_;
    NodeTexts texts_;
    std::uint32_t used_ = 0;            // slots handed out so far, free ones included
    std::vector<std::uint32_t> free_;
    // The pre-order sequence, in two forms. The flat copy (with each node's index) answers in
    // O(1); appends keep it, any other edit drops it. The counted B+ tree answers in O(log N)
    // and follows every edit once it exists: a tree only ever appended to has none, and the
    // first edit elsewhere makes it from the flat copy. Once dropped, the flat copy is made
    // again when enough lookups went through the tree since the last edit to pay for it.
    // One of the two always holds the order.
    OrderIndex order_;
    bool treeValid_ = false;
    // Makes the counted tree from the flat copy unless it is kept already. Out of memory, it
    // throws std::bad_alloc and changes nothing.
    void KeepOrderTree();
    // Room in the flat copy for one more node, so that appending to it cannot fail.
    void RoomForAppend();
    void ForgetFlatOrder();
    BlockArray<std::uint32_t> flat_;
    // Beside the flat copy, each node's text entry, kept in step while the copy is valid. A
    // node is described from its entry alone, and a lookup fetches the entry while the node
    // is on its way, instead of after it: in a big tree both are misses.
    BlockArray<char16_t*> flatEntries_;
    void NoteEntry(const Node& node) {
        if (flatValid_ && node.index < flatEntries_.size()) flatEntries_[node.index] = node.entry;
    }
    bool flatValid_ = true;
    // What lookups through the tree cost since the last edit, in steps along the order: a
    // lookup next to the last one is a step, one anywhere else descends from the root and
    // costs about four.
    static constexpr std::size_t kDescentCost = 4;
    std::size_t treeLookupCost_ = 0;
    void CountTreeLookup(std::size_t cost);
    // Adds `delta` rows under the node in `parentSlot` (kNone: the roots), and on up while the
    // nodes on the way are open.
    void AddRows(std::uint32_t parentSlot, std::int64_t delta);
    std::uint32_t firstRoot_ = kNone;
    std::uint32_t rootRows_ = 0;
    std::uint32_t rowsVersion_ = 0;
    NodeHandle selected_ = 0;
};

}  // namespace ramvel
