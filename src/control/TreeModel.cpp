#include "control/TreeModel.h"

#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/RamvelError.h"

namespace ramvel {

TreeModel::~TreeModel() { Clear(); }

Node* TreeModel::Find(NodeHandle handle) {
    HandleTable::Entry entry = Module().handles.Lookup(handle);
    return entry.owner == this ? &nodes_[entry.slot] : nullptr;
}

const Node* TreeModel::Find(NodeHandle handle) const {
    HandleTable::Entry entry = Module().handles.Lookup(handle);
    return entry.owner == this ? &nodes_[entry.slot] : nullptr;
}

Node& TreeModel::Get(NodeHandle handle) {
    if (Node* node = Find(handle)) return *node;
    throw RamvelError(u"Invalid node handle " + IntToStr(handle));
}

// True when a node appended as the last child of `parentSlot` lands at the end of the
// pre-order walk, i.e. the parent lies on the tree's rightmost path.
bool TreeModel::EndsOrder(std::uint32_t parentSlot) const {
    std::uint32_t slot = parentSlot;
    while (nodes_[slot].parent != kNone) {
        const Node& parent = nodes_[nodes_[slot].parent];
        if (parent.lastChild != slot) return false;
        slot = nodes_[slot].parent;
    }
    return slot == lastRoot_;
}

NodeHandle TreeModel::Add(NodeHandle parentHandle, std::u16string text) {
    std::uint32_t parentSlot = kNone;
    if (parentHandle != 0) parentSlot = SlotOf(Get(parentHandle));
    bool atEnd = parentSlot == kNone || EndsOrder(parentSlot);

    std::uint32_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
        nodes_[slot] = Node{};
    } else {
        slot = static_cast<std::uint32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    Node& node = nodes_[slot];
    node.parent = parentSlot;
    try {
        node.handle = Module().handles.Allocate(this, slot);
    } catch (...) {
        free_.push_back(slot);
        throw;
    }
    node.text = std::move(text);
    if (parentSlot == kNone) {
        node.prevSibling = lastRoot_;
        if (lastRoot_ != kNone) nodes_[lastRoot_].nextSibling = slot; else firstRoot_ = slot;
        lastRoot_ = slot;
    } else {
        Node& parent = nodes_[parentSlot];
        node.level = parent.level + 1;
        node.prevSibling = parent.lastChild;
        if (parent.lastChild != kNone) nodes_[parent.lastChild].nextSibling = slot; else parent.firstChild = slot;
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

void TreeModel::Unlink(Node& node) {
    std::uint32_t slot = SlotOf(node);
    std::uint32_t& first = node.parent == kNone ? firstRoot_ : nodes_[node.parent].firstChild;
    std::uint32_t& last = node.parent == kNone ? lastRoot_ : nodes_[node.parent].lastChild;
    if (node.prevSibling != kNone) nodes_[node.prevSibling].nextSibling = node.nextSibling;
    if (node.nextSibling != kNone) nodes_[node.nextSibling].prevSibling = node.prevSibling;
    if (first == slot) first = node.nextSibling;
    if (last == slot) last = node.prevSibling;
    if (node.parent != kNone) --nodes_[node.parent].childCount;
}

std::uintptr_t TreeModel::Remove(NodeHandle handle) {
    Node& node = Get(handle);
    std::uintptr_t widgetItem = node.widgetItem;
    std::uint32_t top = SlotOf(node);

    // The subtree's pre-order range, to keep the order cache when it is the tail.
    bool tail = false;
    std::uint32_t start = 0;
    if (orderValid_) {
        start = node.index;
        std::uint32_t s = top;
        while (s != kNone && nodes_[s].nextSibling == kNone) s = nodes_[s].parent;
        tail = s == kNone;
    }

    Unlink(node);

    // Free the subtree without recursion.
    std::vector<std::uint32_t> pending{top};
    while (!pending.empty()) {
        std::uint32_t s = pending.back();
        pending.pop_back();
        Node& n = nodes_[s];
        for (std::uint32_t c = n.firstChild; c != kNone; c = nodes_[c].nextSibling) pending.push_back(c);
        if (n.handle == selected_) selected_ = 0;
        Module().handles.Release(n.handle);
        n = Node{};
        free_.push_back(s);
    }

    if (orderValid_ && tail) order_.resize(start);
    else orderValid_ = false;
    return widgetItem;
}

void TreeModel::Clear() {
    for (const Node& node : nodes_)
        if (node.handle != 0) Module().handles.Release(node.handle);
    nodes_.clear();
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
        nodes_[s].index = static_cast<std::uint32_t>(order_.size());
        order_.push_back(s);
        if (nodes_[s].firstChild != kNone) {
            s = nodes_[s].firstChild;
            continue;
        }
        while (s != kNone && nodes_[s].nextSibling == kNone) s = nodes_[s].parent;
        if (s != kNone) s = nodes_[s].nextSibling;
    }
    orderValid_ = true;
}

Node& TreeModel::At(std::int32_t index) {
    if (index < 0 || index >= Count()) throw RamvelError(kIndexIncorrect);
    EnsureOrder();
    return nodes_[order_[static_cast<std::uint32_t>(index)]];
}

std::int32_t TreeModel::IndexOf(const Node& node) {
    EnsureOrder();
    return static_cast<std::int32_t>(node.index);
}

}  // namespace ramvel
