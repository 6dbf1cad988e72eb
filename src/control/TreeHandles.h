#pragma once
// One tree's side of the handle table: gives its nodes handles from the pages it holds, in
// order, and finds the node a handle names. Used by the tree's own thread only.
#include <cstdint>

#include "control/HandleTable.h"

namespace ramvel {

class TreeHandles {
public:
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;

    explicit TreeHandles(HandleTable& table) : table_(table), owner_(table.NewOwnerId()) {}
    // Gives back the page handles were given from; the tree released every handle before.
    ~TreeHandles();
    TreeHandles(const TreeHandles&) = delete;
    TreeHandles& operator=(const TreeHandles&) = delete;

    // A handle for the node in `slot`. Throws std::bad_alloc, or RamvelError when no handle is
    // left, and changes nothing then.
    NodeHandle Allocate(std::uint32_t slot);
    // The handle names nothing any more; a handle of no node of this tree is ignored.
    void Release(NodeHandle handle) noexcept;
    // The slot of the node a handle names in this tree, or kNoSlot.
    std::uint32_t SlotOf(NodeHandle handle) const noexcept {
        if (handle <= 0) return kNoSlot;
        const auto h = static_cast<std::uint32_t>(handle);
        const HandlePage* map = table_.MapOf(h >> HandlePage::kBits, owner_);
        return map ? map->slotPlusOne[h & (HandlePage::kSize - 1)] - 1 : kNoSlot;
    }

private:
    void TakePage();
    // Moves `next_` to the next free entry of the page; past the end, the tree stops giving
    // from the page, which comes back to the table once its last handle is released.
    void Advance(const HandlePage& map) noexcept;

    HandleTable& table_;
    const std::uint32_t owner_;
    std::uint32_t page_ = HandleTable::kNoPage;  // the page handles are given from
    std::uint32_t next_ = 0;                     // its next free entry
    bool tookPage_ = false;                      // whether the tree took a page before
};

}  // namespace ramvel
