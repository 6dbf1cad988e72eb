#include "control/TreeModel.h"

#include <new>

#include "control/BigBlocks.h"
#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/RamvelError.h"

namespace ramvel {

namespace {
constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
}

TreeModel::TreeModel() : id_(Module().handles.NewOwnerId()) {}

TreeModel::~TreeModel() { Clear(); }

Node* TreeModel::Find(NodeHandle handle) {
    const HandleTable::Entry entry = Module().handles.Lookup(handle);
    return entry.owner == id_ ? &NodeIn(entry.slot) : nullptr;
}

const Node* TreeModel::Find(NodeHandle handle) const {
    const HandleTable::Entry entry = Module().handles.Lookup(handle);
    return entry.owner == id_ ? &NodeIn(entry.slot) : nullptr;
}

Node& TreeModel::Get(NodeHandle handle) {
    if (Node* node = Find(handle)) return *node;
    throw RamvelError(u"Invalid node handle " + IntToStr(handle));
}

// True when a node appended as the last child of `parentSlot` lands at the end of the
// pre-order walk, i.e. the parent lies on the tree's rightmost path.
bool TreeModel::EndsOrder(std::uint32_t parentSlot) const {
    std::uint32_t slot = parentSlot;
    while (NodeIn(slot).parent != kNone) {
        const std::uint32_t parent = NodeIn(slot).parent;
        if (NodeIn(parent).lastChild != slot) return false;
        slot = parent;
    }
    return slot == lastRoot_;
}

std::uint32_t TreeModel::NewSlot() {
    std::uint32_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
    } else {
        if (used_ == kNone) throw RamvelError(u"No room for another node");
        if (used_ / kBlockSize == blocks_.size())
            // The first block grows page by page; later ones are for big trees.
            blocks_.push_back(static_cast<Node*>(AllocateBlock(kBlockBytes, !blocks_.empty())));
        slot = used_++;
    }
    new (&NodeIn(slot)) Node{};
    NodeIn(slot).slot = slot;
    return slot;
}

void TreeModel::Reserve(std::size_t count) {
    blocks_.reserve((used_ + count) / kBlockSize + 1);
    if (orderValid_) order_.reserve(order_.size() + count);
}

NodeHandle TreeModel::Add(NodeHandle parentHandle, std::u16string_view text) {
    const std::uint32_t parentSlot = parentHandle == 0 ? kNone : Get(parentHandle).slot;
    const bool atEnd = parentSlot == kNone || EndsOrder(parentSlot);

    const std::uint32_t slot = NewSlot();
    Node& node = NodeIn(slot);
    try {
        node.handle = Module().handles.Allocate(id_, slot);
        texts_.Set(node, text, {});
    } catch (...) {
        Module().handles.Release(node.handle);
        free_.push_back(slot);
        throw;
    }
    node.parent = parentSlot;
    if (parentSlot == kNone) {
        node.prevSibling = lastRoot_;
        if (lastRoot_ != kNone) NodeIn(lastRoot_).nextSibling = slot; else firstRoot_ = slot;
        lastRoot_ = slot;
    } else {
        Node& parent = NodeIn(parentSlot);
        node.level = parent.level + 1;
        node.prevSibling = parent.lastChild;
        if (parent.lastChild != kNone) NodeIn(parent.lastChild).nextSibling = slot; else parent.firstChild = slot;
        parent.lastChild = slot;
        ++parent.childCount;
    }
    if (orderValid_ && atEnd) {
        node.index = static_cast<std::uint32_t>(order_.size());
        order_.push_back(slot);
    } else {
        orderValid_ = false;
    }
    return node.handle;
}

void TreeModel::SetText(Node& node, std::u16string_view text) {
    const NodeText old = node;  // the record is copied from the old entry
    texts_.Set(node, text, old.Record());
    CompactTexts();
}

void TreeModel::SetRecord(Node& node, std::u16string_view record) {
    texts_.SetRecord(node, record);
    node.hasRecord = true;
    CompactTexts();
}

void TreeModel::ReleaseRecord(Node& node) {
    texts_.DropRecord(node);
    node.hasRecord = false;
}

void TreeModel::CompactTexts() {
    if (!texts_.NeedsCompaction()) return;
    texts_.Compact([&](auto&& move) {
        for (std::uint32_t slot = 0; slot < used_; ++slot)
            if (NodeIn(slot).handle != 0) move(NodeIn(slot));
    });
}

void TreeModel::Unlink(Node& node) {
    const std::uint32_t slot = node.slot;
    std::uint32_t& first = node.parent == kNone ? firstRoot_ : NodeIn(node.parent).firstChild;
    std::uint32_t& last = node.parent == kNone ? lastRoot_ : NodeIn(node.parent).lastChild;
    if (node.prevSibling != kNone) NodeIn(node.prevSibling).nextSibling = node.nextSibling;
    if (node.nextSibling != kNone) NodeIn(node.nextSibling).prevSibling = node.prevSibling;
    if (first == slot) first = node.nextSibling;
    if (last == slot) last = node.prevSibling;
    if (node.parent != kNone) --NodeIn(node.parent).childCount;
}

std::uintptr_t TreeModel::Remove(NodeHandle handle) {
    Node& node = Get(handle);
    const std::uintptr_t widgetItem = node.widgetItem;
    const std::uint32_t top = node.slot;

    // The subtree's pre-order range, to keep the order cache when it is the tail.
    bool tail = false;
    const std::uint32_t start = node.index;
    if (orderValid_) {
        std::uint32_t s = top;
        while (s != kNone && NodeIn(s).nextSibling == kNone) s = NodeIn(s).parent;
        tail = s == kNone;
    }

    Unlink(node);

    // Free the subtree without recursion.
    std::vector<std::uint32_t> pending{top};
    while (!pending.empty()) {
        const std::uint32_t s = pending.back();
        pending.pop_back();
        Node& n = NodeIn(s);
        for (std::uint32_t c = n.firstChild; c != kNone; c = NodeIn(c).nextSibling) pending.push_back(c);
        if (n.handle == selected_) selected_ = 0;
        Module().handles.Release(n.handle);
        texts_.Release(n);
        n.handle = 0;
        free_.push_back(s);
    }
    CompactTexts();

    if (orderValid_ && tail) order_.resize(start);
    else orderValid_ = false;
    return widgetItem;
}

void TreeModel::Clear() {
    for (std::uint32_t slot = 0; slot < used_; ++slot)
        if (NodeIn(slot).handle != 0) Module().handles.Release(NodeIn(slot).handle);
    for (Node* block : blocks_) FreeBlock(block, kBlockBytes);
    blocks_.clear();
    texts_.Clear();
    used_ = 0;
    free_.clear();
    order_.clear();
    orderValid_ = true;
    firstRoot_ = lastRoot_ = kNone;
    selected_ = 0;
}

void TreeModel::EnsureOrder() {
    if (orderValid_) return;
    order_.clear();
    order_.reserve(static_cast<std::size_t>(Count()));
    // Iterative pre-order walk through the sibling links.
    std::uint32_t s = firstRoot_;
    while (s != kNone) {
        NodeIn(s).index = static_cast<std::uint32_t>(order_.size());
        order_.push_back(s);
        if (NodeIn(s).firstChild != kNone) {
            s = NodeIn(s).firstChild;
            continue;
        }
        while (s != kNone && NodeIn(s).nextSibling == kNone) s = NodeIn(s).parent;
        if (s != kNone) s = NodeIn(s).nextSibling;
    }
    orderValid_ = true;
}

Node& TreeModel::At(std::int32_t index) {
    if (index < 0 || index >= Count()) throw RamvelError(kIndexIncorrect);
    EnsureOrder();
    return NodeIn(order_[static_cast<std::uint32_t>(index)]);
}

std::int32_t TreeModel::IndexOf(const Node& node) {
    EnsureOrder();
    return static_cast<std::int32_t>(node.index);
}

}  // namespace ramvel
