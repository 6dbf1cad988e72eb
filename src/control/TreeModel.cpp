#include "control/TreeModel.h"

#include <algorithm>
#include <new>

#include "control/BigBlocks.h"
#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/RamvelError.h"

namespace ramvel {

namespace {
constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
}

TreeModel::TreeModel() : TreeModel(Module().handles) {}

TreeModel::TreeModel(HandleTable& handles) : handles_(handles) {}

TreeModel::~TreeModel() { Clear(); }

Node* TreeModel::Find(NodeHandle handle) {
    const std::uint32_t slot = handles_.SlotOf(handle);
    return slot == kNone ? nullptr : &NodeIn(slot);
}

const Node* TreeModel::Find(NodeHandle handle) const {
    const std::uint32_t slot = handles_.SlotOf(handle);
    return slot == kNone ? nullptr : &NodeIn(slot);
}

Node& TreeModel::Get(NodeHandle handle) { return NodeIn(SlotOf(handle)); }

std::uint32_t TreeModel::SlotOf(NodeHandle handle) const {
    const std::uint32_t slot = handles_.SlotOf(handle);
    if (slot == kNone) throw RamvelError(u"Invalid node handle " + IntToStr(handle));
    return slot;
}

// True when a node appended as the last child of `parentSlot` lands at the end of the
// pre-order walk, i.e. the parent lies on the tree's rightmost path: it and each of its
// ancestors is the last of its siblings.
bool TreeModel::EndsOrder(std::uint32_t parentSlot) const {
    for (std::uint32_t slot = parentSlot; slot != kNone; slot = NodeIn(slot).parent)
        if (NodeIn(slot).nextSibling != kNone) return false;
    return true;
}

std::uint32_t TreeModel::NewSlot() {
    std::uint32_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
    } else {
        if (used_ == kNone) throw RamvelError(u"No room for another node");
        if (used_ / kBlockSize == blocks_.size()) {
            blocks_.reserve(blocks_.size() + 1);  // first, so that the new block cannot be lost
            // The first block grows page by page; later ones are for big trees.
            blocks_.push_back(static_cast<Node*>(AllocateBlock(kBlockBytes, !blocks_.empty())));
        }
        slot = used_++;
    }
    new (&NodeIn(slot)) Node{};
    return slot;
}

void TreeModel::Reserve(std::size_t count) {
    blocks_.reserve((used_ + count) / kBlockSize + 1);
    if (treeValid_) order_.ReserveSlots(used_ + count);
    if (flatValid_) {
        flat_.reserve(flat_.size() + count);
        flatEntries_.reserve(flat_.size() + count);
    }
}

void TreeModel::KeepOrderTree() {
    if (treeValid_) return;
    order_.Build(flat_.begin(), flat_.size(), used_);
    treeValid_ = true;
}

void TreeModel::RoomForAppend() {
    if (flat_.size() < flat_.capacity() && flatEntries_.size() < flatEntries_.capacity()) return;
    const std::size_t room = std::max<std::size_t>(1024, 2 * flat_.size());
    flat_.reserve(room);
    flatEntries_.reserve(room);
}

void TreeModel::DropFlatOrder() {
    KeepOrderTree();
    ForgetFlatOrder();
}

void TreeModel::ForgetFlatOrder() {
    flatValid_ = false;
    treeLookupCost_ = 0;
}

void TreeModel::CountTreeLookup(std::size_t cost) {
    // A walk of the whole tree costs about as much as this many steps.
    treeLookupCost_ += cost;
    if (treeLookupCost_ < order_.Size() / 16 + 1024) return;
    flat_.clear();
    flatEntries_.clear();
    try {
        flat_.reserve(order_.Size());
        flatEntries_.reserve(order_.Size());
    } catch (const std::bad_alloc&) {
        return;  // only a copy: lookups keep going through the tree
    }
    order_.ForEach([&](std::uint32_t slot) {
        Node& node = NodeIn(slot);
        node.index = static_cast<std::uint32_t>(flat_.size());
        flat_.push_back(slot);
        flatEntries_.push_back(node.entry);
    });
    flatValid_ = true;
}

std::size_t TreeModel::PositionForNewChild(std::uint32_t parentSlot) const {
    // Under a parent on the rightmost path it is the end: the common case of building.
    if (parentSlot == kNone || EndsOrder(parentSlot)) return static_cast<std::size_t>(Count());
    // Else right after the parent's last descendant.
    std::uint32_t last = parentSlot;
    while (NodeIn(last).firstChild != kNone) last = LastOf(NodeIn(last).firstChild);
    return (flatValid_ ? NodeIn(last).index : order_.PositionOf(last)) + 1;
}

NodeHandle TreeModel::Add(NodeHandle parentHandle, std::u16string_view text) {
    const std::uint32_t parentSlot = parentHandle == 0 ? kNone : SlotOf(parentHandle);
    const std::size_t position = PositionForNewChild(parentSlot);
    const bool append = flatValid_ && position == flat_.size();
    if (append) RoomForAppend();
    else KeepOrderTree();

    const std::uint32_t slot = NewSlot();
    Node& node = NodeIn(slot);
    try {
        node.handle = handles_.Allocate(slot);
        texts_.Set(node, text, {});
        if (treeValid_) order_.Insert(position, slot);
    } catch (...) {
        texts_.Release(node);
        handles_.Release(node.handle);
        node.handle = 0;
        // The slot goes back where it came from, without allocating: the last slot by the
        // count, any other one into the room it left on the free list.
        if (slot + 1 == used_) --used_;
        else free_.push_back(slot);
        throw;
    }
    node.parent = parentSlot;
    std::uint32_t& first = FirstOf(parentSlot);
    if (first == kNone) {
        first = slot;
        node.prevSibling = slot;
    } else {
        Node& firstNode = NodeIn(first);
        node.prevSibling = firstNode.prevSibling;
        NodeIn(firstNode.prevSibling).nextSibling = slot;
        firstNode.prevSibling = slot;
    }
    if (parentSlot != kNone) ++NodeIn(parentSlot).childCount;
    AddRows(parentSlot, 1);
    if (append) {
        node.index = static_cast<std::uint32_t>(position);
        flat_.push_back(slot);  // within the room made above
        flatEntries_.push_back(node.entry);
    } else {
        ForgetFlatOrder();
    }
    return node.handle;
}

void TreeModel::SetText(Node& node, std::u16string_view text) {
    const NodeText old = node;  // the record is copied from the old entry
    texts_.Set(node, text, old.Record());
    NoteEntry(node);
    CompactTexts();
}

void TreeModel::SetTexts(Node& node, std::u16string_view text, std::u16string_view record) {
    texts_.Set(node, text, record);
    NoteEntry(node);
    node.hasRecord = true;
    CompactTexts();
}

void TreeModel::SetRecord(Node& node, std::u16string_view record) {
    texts_.SetRecord(node, record);
    NoteEntry(node);
    node.hasRecord = true;
    CompactTexts();
}

void TreeModel::ReleaseRecord(Node& node) {
    texts_.DropRecord(node);
    node.hasRecord = false;
}

void TreeModel::CompactTexts() noexcept {
    if (!texts_.NeedsCompaction()) return;
    try {
        texts_.Compact([&](auto&& move) {
            for (std::uint32_t slot = 0; slot < used_; ++slot)
                if (NodeIn(slot).handle != 0) move(NodeIn(slot));
        });
        if (flatValid_)
            for (std::size_t i = 0; i < flat_.size(); ++i) flatEntries_[i] = NodeIn(flat_[i]).entry;
    } catch (const std::bad_alloc&) {
        // Compacting only gives memory back: without room for it, the garbage waits.
    }
}

void TreeModel::Unlink(std::uint32_t slot) {
    const Node& node = NodeIn(slot);
    std::uint32_t& first = FirstOf(node.parent);
    if (first == slot) {
        // The second one, if any, becomes the first, and closes the ring to the last.
        if (node.nextSibling != kNone) NodeIn(node.nextSibling).prevSibling = node.prevSibling;
        first = node.nextSibling;
    } else {
        NodeIn(node.prevSibling).nextSibling = node.nextSibling;
        // The one after, or, for the last one, the first: the ring's way back.
        NodeIn(node.nextSibling != kNone ? node.nextSibling : first).prevSibling = node.prevSibling;
    }
    if (node.parent != kNone) --NodeIn(node.parent).childCount;
}

void TreeModel::Remove(NodeHandle handle) {
    const std::uint32_t top = SlotOf(handle);
    Node& node = NodeIn(top);

    // The one allocation comes first: room on the free list for every slot of the subtree.
    std::size_t removed = 0;
    ForEachInSubtree(top, [&](Node&, std::uint32_t) { ++removed; });
    if (free_.capacity() - free_.size() < removed) free_.reserve(std::max(free_.size() + removed, 2 * free_.capacity()));

    const std::size_t start = flatValid_ ? node.index : order_.PositionOf(top);
    const bool atEnd = flatValid_ && start + removed == flat_.size();
    if (!atEnd) KeepOrderTree();
    AddRows(node.parent, -static_cast<std::int64_t>(RowsOf(node)));
    Unlink(top);
    ForEachInSubtree(top, [&](Node& n, std::uint32_t slot) {
        if (n.handle == selected_) selected_ = 0;
        handles_.Release(n.handle);
        texts_.Release(n);
        n.handle = 0;
        free_.push_back(slot);
    });
    // The subtree is one run of the pre-order sequence.
    if (treeValid_) order_.Erase(start, removed);
    if (atEnd) {
        flat_.resize(start);
        flatEntries_.resize(start);
    } else {
        ForgetFlatOrder();
    }
    CompactTexts();
}

void TreeModel::SetExpanded(Node& node, bool expanded) {
    if (node.expanded == expanded) return;
    node.expanded = expanded;
    AddRows(node.parent, expanded ? std::int64_t{node.childRows} : -std::int64_t{node.childRows});
}

void TreeModel::AddRows(std::uint32_t parentSlot, std::int64_t delta) {
    ++rowsVersion_;
    for (std::uint32_t slot = parentSlot;; slot = NodeIn(slot).parent) {
        if (slot == kNone) {
            rootRows_ = static_cast<std::uint32_t>(rootRows_ + delta);
            return;
        }
        Node& node = NodeIn(slot);
        node.childRows = static_cast<std::uint32_t>(node.childRows + delta);
        if (!node.expanded) return;
    }
}

void TreeModel::Clear() {
    for (std::uint32_t slot = 0; slot < used_; ++slot)
        if (NodeIn(slot).handle != 0) handles_.Release(NodeIn(slot).handle);
    for (Node* block : blocks_) FreeBlock(block, kBlockBytes);
    blocks_.clear();
    texts_.Clear();
    used_ = 0;
    free_.clear();
    order_.Clear();
    treeValid_ = false;
    flat_.Release();
    flatEntries_.Release();
    flatValid_ = true;
    firstRoot_ = kNone;
    rootRows_ = 0;
    ++rowsVersion_;
    selected_ = 0;
}

Node& TreeModel::At(std::int32_t index) {
    if (index < 0 || index >= Count()) throw RamvelError(kIndexIncorrect);
    const auto position = static_cast<std::size_t>(index);
    if (flatValid_) {
        __builtin_prefetch(flatEntries_[position] - NodeText::kHeaderChars);
        return NodeIn(flat_[position]);
    }
    const std::size_t cost = order_.IsStep(position) ? 1 : kDescentCost;
    Node& node = NodeIn(order_.At(position));
    CountTreeLookup(cost);
    return node;
}

TreeModel::IndexedTexts TreeModel::TextsAt(std::int32_t index) {
    IndexedTexts texts;
    if (flatValid_ && index >= 0 && index < Count()) {
        const auto position = static_cast<std::size_t>(index);
        texts.entry = flatEntries_[position];
        texts.handle = NodeIn(flat_[position]).handle;
    } else {
        const Node& node = At(index);
        texts.entry = node.entry;
        texts.handle = node.handle;
    }
    return texts;
}

std::int32_t TreeModel::IndexOf(const Node& node) {
    if (flatValid_) return static_cast<std::int32_t>(node.index);
    const auto index = static_cast<std::int32_t>(order_.PositionOf(handles_.SlotOf(node.handle)));
    CountTreeLookup(kDescentCost);
    return index;
}

}  // namespace ramvel
