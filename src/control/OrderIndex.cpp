#include "control/OrderIndex.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "control/BigBlocks.h"

namespace ramvel {

namespace {

constexpr std::size_t kFirstArenaBlock = std::size_t{64} << 10;
constexpr std::size_t kArenaBlock = std::size_t{2} << 20;

}  // namespace

void* OrderIndex::Carve(std::size_t bytes) {
    if (arena_.empty() || arenaUsed_ + bytes > arena_.back().size) {
        // Small trees stay on one small block; big ones get full blocks backed by huge pages.
        const std::size_t size = arena_.empty() ? kFirstArenaBlock : kArenaBlock;
        arena_.reserve(arena_.size() + 1);  // first, so that the new block cannot be lost
        arena_.push_back({static_cast<char*>(AllocateBlock(size, size == kArenaBlock)), size});
        arenaUsed_ = 0;
    }
    void* at = arena_.back().data + arenaUsed_;
    arenaUsed_ += bytes;
    return at;
}

// One more node made and put on the free list, its room on both lists taken first: a failure
// leaves both lists as they were, and freeing any node later never needs to allocate. Nodes
// live until the index is cleared.
template <typename T>
void OrderIndex::Stock(std::vector<T*>& all, std::vector<std::uint32_t>& free) {
    if (all.size() == all.capacity()) all.reserve(all.size() * 2 + 8);
    free.reserve(all.capacity());
    T* made = new (Carve(sizeof(T))) T();
    free.push_back(static_cast<std::uint32_t>(all.size()));
    all.push_back(made);
}

template <typename T>
std::uint32_t OrderIndex::Take(std::vector<T*>& all, std::vector<std::uint32_t>& free) {
    if (free.empty()) Stock(all, free);
    const std::uint32_t id = free.back();
    free.pop_back();
    *all[id] = T{};
    return id;
}

std::uint32_t OrderIndex::NewLeaf() { return Take(leaves_, freeLeaves_); }
std::uint32_t OrderIndex::NewInner() { return Take(inners_, freeInners_); }

void OrderIndex::FreeLeaf(std::uint32_t leaf) { freeLeaves_.push_back(leaf); }
void OrderIndex::FreeInner(std::uint32_t inner) { freeInners_.push_back(inner); }

void OrderIndex::ReserveSplit() {
    while (freeLeaves_.empty()) Stock(leaves_, freeLeaves_);
    while (freeInners_.size() < height_ + 1) Stock(inners_, freeInners_);
}

void OrderIndex::Clear() {
    for (const ArenaBlock& block : arena_) FreeBlock(block.data, block.size);
    arena_.clear();
    arenaUsed_ = 0;
    leaves_.clear();
    inners_.clear();
    freeLeaves_.clear();
    freeInners_.clear();
    leafOf_.Release();
    root_ = firstLeaf_ = cursorLeaf_ = kNone;
    height_ = 0;
    size_ = 0;
}

void OrderIndex::Build(const std::uint32_t* slots, std::size_t count, std::size_t slotLimit) {
    Clear();
    if (count == 0) return;
    try {
        leafOf_.reserve(slotLimit);
        leafOf_.resize(slotLimit, kNone);
        // The leaves, chained in order.
        std::vector<std::uint32_t> level;
        level.reserve((count + kLeafSlots - 1) / kLeafSlots);
        std::vector<std::uint32_t> sizes;
        sizes.reserve(level.capacity());
        for (std::size_t at = 0; at < count; at += kLeafSlots) {
            const std::uint32_t id = NewLeaf();
            Leaf& leaf = *leaves_[id];
            leaf.count = static_cast<std::uint32_t>(std::min<std::size_t>(kLeafSlots, count - at));
            std::memcpy(leaf.slots, slots + at, leaf.count * sizeof(std::uint32_t));
            for (std::uint32_t i = 0; i < leaf.count; ++i) leafOf_[leaf.slots[i]] = id;
            if (!level.empty()) {
                leaf.prev = level.back();
                leaves_[level.back()]->next = id;
            }
            level.push_back(id);
            sizes.push_back(leaf.count);
        }
        firstLeaf_ = level.front();
        // Inner levels up to a single root.
        bool childrenAreLeaves = true;
        while (level.size() > 1) {
            std::vector<std::uint32_t> upper, upperSizes;
            upper.reserve((level.size() + kFanout - 1) / kFanout);
            upperSizes.reserve(upper.capacity());
            for (std::size_t at = 0; at < level.size(); at += kFanout) {
                const std::uint32_t id = NewInner();
                Inner& inner = *inners_[id];
                inner.count = static_cast<std::uint32_t>(std::min<std::size_t>(kFanout, level.size() - at));
                std::uint64_t total = 0;
                for (std::uint32_t i = 0; i < inner.count; ++i) {
                    inner.children[i] = level[at + i];
                    inner.sizes[i] = sizes[at + i];
                    total += sizes[at + i];
                    SetParent(level[at + i], childrenAreLeaves, id);
                }
                upper.push_back(id);
                upperSizes.push_back(static_cast<std::uint32_t>(total));
            }
            level.swap(upper);
            sizes.swap(upperSizes);
            childrenAreLeaves = false;
            ++height_;
        }
        root_ = level.front();
        size_ = count;
    } catch (...) {
        Clear();
        throw;
    }
}

void OrderIndex::SetParent(std::uint32_t child, bool isLeaf, std::uint32_t parent) {
    if (isLeaf) leaves_[child]->parent = parent;
    else inners_[child]->parent = parent;
}

std::uint32_t OrderIndex::IndexIn(const Inner& inner, std::uint32_t child) {
    return static_cast<std::uint32_t>(std::find(inner.children, inner.children + inner.count, child) - inner.children);
}

std::uint32_t OrderIndex::Locate(std::size_t position, std::uint32_t& offset) const {
    std::uint32_t node = root_;
    for (std::uint32_t h = height_; h > 0; --h) {
        const Inner& inner = *inners_[node];
        std::uint32_t i = 0;
        while (i + 1 < inner.count && position >= inner.sizes[i]) position -= inner.sizes[i++];
        node = inner.children[i];
    }
    offset = static_cast<std::uint32_t>(position);
    return node;
}

bool OrderIndex::IsStep(std::size_t position) const {
    if (cursorLeaf_ == kNone) return false;
    const Leaf& leaf = *leaves_[cursorLeaf_];
    const std::size_t end = cursorStart_ + leaf.count;
    // The position after the leaf's last one is the next leaf's first.
    return position >= cursorStart_ && (position < end || (position == end && leaf.next != kNone));
}

std::uint32_t OrderIndex::At(std::size_t position) {
    if (IsStep(position)) {
        const Leaf* leaf = leaves_[cursorLeaf_];
        if (position < cursorStart_ + leaf->count) return leaf->slots[position - cursorStart_];
        cursorStart_ = position;
        cursorLeaf_ = leaf->next;
        return leaves_[cursorLeaf_]->slots[0];
    }
    std::uint32_t offset = 0;
    cursorLeaf_ = Locate(position, offset);
    cursorStart_ = position - offset;
    return leaves_[cursorLeaf_]->slots[offset];
}

std::size_t OrderIndex::PositionOf(std::uint32_t slot) const {
    std::uint32_t node = leafOf_[slot];
    const Leaf& leaf = *leaves_[node];
    std::size_t position = static_cast<std::size_t>(std::find(leaf.slots, leaf.slots + leaf.count, slot) - leaf.slots);
    for (std::uint32_t parent = leaf.parent; parent != kNone; parent = inners_[parent]->parent) {
        const Inner& inner = *inners_[parent];
        for (std::uint32_t i = 0; inner.children[i] != node; ++i) position += inner.sizes[i];
        node = parent;
    }
    return position;
}

void OrderIndex::AdjustSizes(std::uint32_t leaf, std::int64_t delta) {
    std::uint32_t node = leaf;
    for (std::uint32_t parent = leaves_[leaf]->parent; parent != kNone; parent = inners_[parent]->parent) {
        Inner& inner = *inners_[parent];
        inner.sizes[IndexIn(inner, node)] += static_cast<std::uint32_t>(delta);
        node = parent;
    }
}

void OrderIndex::Insert(std::size_t position, std::uint32_t slot) {
    // Everything that allocates comes first: a failure leaves the sequence as it was.
    if (slot >= leafOf_.size()) leafOf_.resize(std::size_t{slot} + 1, kNone);
    ReserveSplit();
    cursorLeaf_ = kNone;
    if (root_ == kNone) {
        root_ = firstLeaf_ = NewLeaf();
        height_ = 0;
    }
    // Down to the leaf, counting the new slot in on the way. A position between two children
    // goes to the end of the first one, so appending always lands in the last leaf.
    std::uint32_t node = root_;
    if (position == size_) {
        // Appending, the common case of building: along the last children, no counting needed.
        for (std::uint32_t h = height_; h > 0; --h) {
            Inner& inner = *inners_[node];
            ++inner.sizes[inner.count - 1];
            node = inner.children[inner.count - 1];
        }
        position = leaves_[node]->count;
    } else {
        for (std::uint32_t h = height_; h > 0; --h) {
            Inner& inner = *inners_[node];
            std::uint32_t i = 0;
            while (i + 1 < inner.count && position > inner.sizes[i]) position -= inner.sizes[i++];
            ++inner.sizes[i];
            node = inner.children[i];
        }
    }
    ++size_;
    const std::uint32_t leafId = node;
    Leaf* leaf = leaves_[leafId];
    auto put = [&](std::uint32_t id, Leaf& into, std::uint32_t at) {
        std::memmove(into.slots + at + 1, into.slots + at, (into.count - at) * sizeof(std::uint32_t));
        into.slots[at] = slot;
        ++into.count;
        leafOf_[slot] = id;
    };
    const auto at = static_cast<std::uint32_t>(position);
    if (leaf->count < kLeafSlots) {
        put(leafId, *leaf, at);
        return;
    }
    // A full leaf splits in two; at its end (an append) the new leaf starts with the slot alone.
    const std::uint32_t freshId = NewLeaf();
    leaf = leaves_[leafId];
    Leaf& fresh = *leaves_[freshId];
    const std::uint32_t keep = at == leaf->count ? leaf->count : leaf->count / 2;
    fresh.count = leaf->count - keep;
    std::memcpy(fresh.slots, leaf->slots + keep, fresh.count * sizeof(std::uint32_t));
    for (std::uint32_t i = 0; i < fresh.count; ++i) leafOf_[fresh.slots[i]] = freshId;
    leaf->count = keep;
    fresh.prev = leafId;
    fresh.next = leaf->next;
    if (leaf->next != kNone) leaves_[leaf->next]->prev = freshId;
    leaf->next = freshId;
    if (at < keep || (at == keep && keep < kLeafSlots)) put(leafId, *leaf, at);
    else put(freshId, fresh, at - keep);
    InsertChild(leaf->parent, 1, leafId, freshId, leaf->count, fresh.count);
}

void OrderIndex::InsertChild(std::uint32_t parent, std::uint32_t height, std::uint32_t left, std::uint32_t right,
                             std::uint32_t leftSize, std::uint32_t rightSize) {
    const bool childrenAreLeaves = height == 1;
    if (parent == kNone) {
        // The root split: a new root above the two halves.
        const std::uint32_t rootId = NewInner();
        Inner& root = *inners_[rootId];
        root.count = 2;
        root.children[0] = left, root.children[1] = right;
        root.sizes[0] = leftSize, root.sizes[1] = rightSize;
        SetParent(left, childrenAreLeaves, rootId);
        SetParent(right, childrenAreLeaves, rootId);
        root_ = rootId;
        height_ = height;
        return;
    }
    Inner* inner = inners_[parent];
    const std::uint32_t index = IndexIn(*inner, left);
    inner->sizes[index] = leftSize;
    auto put = [&](std::uint32_t id, Inner& into, std::uint32_t at) {
        std::memmove(into.children + at + 1, into.children + at, (into.count - at) * sizeof(std::uint32_t));
        std::memmove(into.sizes + at + 1, into.sizes + at, (into.count - at) * sizeof(std::uint32_t));
        into.children[at] = right;
        into.sizes[at] = rightSize;
        ++into.count;
        SetParent(right, childrenAreLeaves, id);
    };
    if (inner->count < kFanout) {
        put(parent, *inner, index + 1);
        return;
    }
    const std::uint32_t freshId = NewInner();
    inner = inners_[parent];
    Inner& fresh = *inners_[freshId];
    const std::uint32_t at = index + 1;
    const std::uint32_t keep = at == inner->count ? inner->count : inner->count / 2;
    fresh.count = inner->count - keep;
    std::memcpy(fresh.children, inner->children + keep, fresh.count * sizeof(std::uint32_t));
    std::memcpy(fresh.sizes, inner->sizes + keep, fresh.count * sizeof(std::uint32_t));
    for (std::uint32_t i = 0; i < fresh.count; ++i) SetParent(fresh.children[i], childrenAreLeaves, freshId);
    inner->count = keep;
    if (at < keep || (at == keep && keep < kFanout)) put(parent, *inner, at);
    else put(freshId, fresh, at - keep);
    std::uint64_t leftTotal = 0, rightTotal = 0;
    for (std::uint32_t i = 0; i < inner->count; ++i) leftTotal += inner->sizes[i];
    for (std::uint32_t i = 0; i < fresh.count; ++i) rightTotal += fresh.sizes[i];
    InsertChild(inner->parent, height + 1, parent, freshId, static_cast<std::uint32_t>(leftTotal),
                static_cast<std::uint32_t>(rightTotal));
}

void OrderIndex::RemoveLeaf(std::uint32_t leafId) {
    Leaf& leaf = *leaves_[leafId];
    if (leaf.prev != kNone) leaves_[leaf.prev]->next = leaf.next; else firstLeaf_ = leaf.next;
    if (leaf.next != kNone) leaves_[leaf.next]->prev = leaf.prev;
    // Out of its parent, and the parents left empty out of theirs.
    std::uint32_t child = leafId;
    std::uint32_t parent = leaf.parent;
    FreeLeaf(leafId);
    while (parent != kNone) {
        Inner& inner = *inners_[parent];
        const std::uint32_t index = IndexIn(inner, child);
        std::memmove(inner.children + index, inner.children + index + 1, (inner.count - index - 1) * sizeof(std::uint32_t));
        std::memmove(inner.sizes + index, inner.sizes + index + 1, (inner.count - index - 1) * sizeof(std::uint32_t));
        if (--inner.count > 0) return;
        child = parent;
        parent = inner.parent;
        FreeInner(child);
    }
    // Nothing is left.
    root_ = firstLeaf_ = kNone;
    height_ = 0;
}

void OrderIndex::Erase(std::size_t position, std::size_t count) {
    cursorLeaf_ = kNone;
    while (count > 0) {
        std::uint32_t offset = 0;
        const std::uint32_t leafId = Locate(position, offset);
        Leaf& leaf = *leaves_[leafId];
        const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::size_t>(count, leaf.count - offset));
        std::memmove(leaf.slots + offset, leaf.slots + offset + n, (leaf.count - offset - n) * sizeof(std::uint32_t));
        leaf.count -= n;
        size_ -= n;
        count -= n;
        AdjustSizes(leafId, -static_cast<std::int64_t>(n));
        if (leaf.count == 0) RemoveLeaf(leafId);
    }
    // A root left with one child hands over to it.
    while (height_ > 0 && inners_[root_]->count == 1) {
        const std::uint32_t old = root_;
        root_ = inners_[old]->children[0];
        FreeInner(old);
        --height_;
        SetParent(root_, height_ == 0, kNone);
    }
}

}  // namespace ramvel
