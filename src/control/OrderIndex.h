#pragma once
// The pre-order sequence of a tree's nodes, as a counted B+ tree of node slots: the slot at a
// position and the position of a slot in O(log N), inserting or erasing anywhere in O(log N)
// plus one leaf's shift. Leaves hold up to kLeafSlots slots in order and are chained; inner
// nodes keep how many slots lie under each child. Appending fills leaves completely.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "control/BlockArray.h"

namespace ramvel {

class OrderIndex {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    OrderIndex() = default;
    ~OrderIndex() { Clear(); }
    OrderIndex(const OrderIndex&) = delete;
    OrderIndex& operator=(const OrderIndex&) = delete;

    std::size_t Size() const { return size_; }
    // The slot at `position` (< Size()). Walking positions in order costs O(1) a step.
    std::uint32_t At(std::size_t position);
    // Whether At(position) is such a step, not a descent from the root.
    bool IsStep(std::size_t position) const;
    // The position of a slot that is in the sequence.
    std::size_t PositionOf(std::uint32_t slot) const;
    // Puts `slot` at `position` (<= Size()); what was there and after moves one place on.
    // Out of memory, it throws std::bad_alloc and changes nothing.
    void Insert(std::size_t position, std::uint32_t slot);
    // Removes `count` slots from `position` on. Never allocates.
    void Erase(std::size_t position, std::size_t count);
    // Drops everything at once.
    void Clear();
    // Makes an empty index hold `count` slots in this order, each below `slotLimit`, in full
    // leaves and inner nodes, as many appends would, in one pass. Out of memory, it throws
    // std::bad_alloc and leaves the index empty.
    void Build(const std::uint32_t* slots, std::size_t count, std::size_t slotLimit);
    // Room for slots up to `slots` (exclusive) without reallocating the slot map.
    void ReserveSlots(std::size_t slots) { leafOf_.reserve(slots); }

    // Visits every slot in order.
    template <typename F>
    void ForEach(F&& visit) const {
        for (std::uint32_t leaf = firstLeaf_; leaf != kNone; leaf = leaves_[leaf]->next)
            for (std::uint32_t i = 0; i < leaves_[leaf]->count; ++i) visit(leaves_[leaf]->slots[i]);
    }

private:
    static constexpr std::uint32_t kLeafSlots = 508;  // a leaf fills 2 KB
    static constexpr std::uint32_t kFanout = 64;
    struct Leaf {
        std::uint32_t count = 0, parent = kNone, prev = kNone, next = kNone;
        std::uint32_t slots[kLeafSlots];
    };
    struct Inner {
        std::uint32_t count = 0, parent = kNone;
        std::uint32_t children[kFanout];
        std::uint32_t sizes[kFanout];
    };

    // Nodes come from the free lists, which ReserveSplit fills ahead of an insert; freeing
    // never allocates.
    std::uint32_t NewLeaf();
    std::uint32_t NewInner();
    void FreeLeaf(std::uint32_t leaf);
    void FreeInner(std::uint32_t inner);
    // Free nodes enough for a split on every level, a new root included.
    void ReserveSplit();
    void SetParent(std::uint32_t child, bool isLeaf, std::uint32_t parent);
    static std::uint32_t IndexIn(const Inner& inner, std::uint32_t child);
    // Finds the leaf holding `position` and the offset in it.
    std::uint32_t Locate(std::size_t position, std::uint32_t& offset) const;
    // After `left` (a child at `height` - 1 below `parent`) split: `right` goes in after it.
    void InsertChild(std::uint32_t parent, std::uint32_t height, std::uint32_t left, std::uint32_t right,
                     std::uint32_t leftSize, std::uint32_t rightSize);
    // Adds `delta` to the sizes on the way from a leaf up to the root.
    void AdjustSizes(std::uint32_t leaf, std::int64_t delta);
    void RemoveLeaf(std::uint32_t leaf);

    std::vector<Leaf*> leaves_;
    std::vector<Inner*> inners_;
    std::vector<std::uint32_t> freeLeaves_, freeInners_;
    BlockArray<std::uint32_t> leafOf_;  // slot -> the leaf that holds it
    // The nodes' memory: carved from blocks in turn, all given back at once by Clear.
    struct ArenaBlock {
        char* data;
        std::size_t size;
    };
    std::vector<ArenaBlock> arena_;
    std::size_t arenaUsed_ = 0;  // in the last block
    void* Carve(std::size_t bytes);
    template <typename T>
    void Stock(std::vector<T*>& all, std::vector<std::uint32_t>& free);
    template <typename T>
    std::uint32_t Take(std::vector<T*>& all, std::vector<std::uint32_t>& free);
    std::uint32_t root_ = kNone;
    std::uint32_t height_ = 0;           // inner levels above the leaves
    std::uint32_t firstLeaf_ = kNone;
    std::size_t size_ = 0;
    // Where the last lookup landed, for walks in order.
    std::uint32_t cursorLeaf_ = kNone;
    std::size_t cursorStart_ = 0;
};

}  // namespace ramvel
