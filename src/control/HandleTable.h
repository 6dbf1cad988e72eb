#pragma once
// Module-wide node handles: 32-bit, > 0, unique across every tree of the process and never
// given out twice, so a removed node's handle can never be taken for a live node. Trees of
// several threads allocate, release and look up at once: every operation holds a spin lock for
// a few instructions.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "control/SpinLock.h"
#include "platform/TreeWidget.h"

namespace ramvel {

class HandleTable {
public:
    struct Entry {
        std::uint32_t owner = 0;  // id of the tree that holds the node; 0: no live node
        std::uint32_t slot = 0;
    };

    HandleTable() = default;
    ~HandleTable();
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    NodeHandle Allocate(std::uint32_t owner, std::uint32_t slot);
    void Release(NodeHandle handle);
    Entry Lookup(NodeHandle handle) const {
        const std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
        std::lock_guard<SpinLock> hold(lock_);
        if (handle <= 0 || page >= pages_.size() || !pages_[page].entries) return {};
        return pages_[page].entries[handle & (kPageSize - 1)];
    }

    // Ids for trees, never given twice either.
    std::uint32_t NewOwnerId() { return nextOwner_.fetch_add(1, std::memory_order_relaxed); }

private:
    static constexpr int kPageBits = 18;  // 2 MB of entries a page
    static constexpr std::uint32_t kPageSize = 1u << kPageBits;
    struct Page {
        Entry* entries = nullptr;
        std::uint32_t live = 0;
    };
    // Pages are dropped once all their handles died and no handle is given from them any more.
    std::vector<Page> pages_;
    std::int64_t next_ = 1;
    std::atomic<std::uint32_t> nextOwner_{1};
    mutable SpinLock lock_;
};

}  // namespace ramvel
