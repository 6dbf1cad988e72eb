#pragma once
// Node handles for every tree of the process: 32-bit, > 0, and no two live nodes share one.
//
// The handles 1 to 2^31-1 are cut into pages of 65,536. A tree takes whole pages and gives
// their handles to its nodes in order (TreeHandles); the memory that maps a page's handles to
// the tree's nodes belongs to the tree. So a lookup loads the page's owner from a fixed array
// and, when the tree owns the page, reads the tree's own memory: no lock, and no thread ever
// reads memory that another thread may free or fill.
//
// Pages come from a counter first, up to the last handle. A page comes back once every handle
// it gave was released and its tree gives no more from it (or the tree goes); its memory goes
// with it. Once the counter has passed the last page, pages are given again in the order they
// came back, oldest first. A removed node's handle therefore names nothing until the counter
// went through every handle and every page that came back before its own was given again.
// Only when every page is held by some tree does a tree give the free handles of the pages it
// holds, the only ones left to it.
//
// The pages waiting to be given again are linked through the fixed array, so nothing grows with
// the number of handles ever given: the table's memory is the fixed array (512 KB) and one
// page's map (256 KB) for every page holding a live node, or given from.
//
// The lock is taken only to take or give back a page, at most once per 65,536 handles; the
// page's memory is allocated before it and freed after it.
#include <atomic>
#include <cstdint>
#include <memory>

#include "control/SpinLock.h"
#include "platform/TreeWidget.h"

namespace ramvel {

// A page's handles: entry i holds the tree slot of the node with handle page * 65,536 + i,
// plus one; 0 means the handle names no node.
struct HandlePage {
    static constexpr int kBits = 16;
    static constexpr std::uint32_t kSize = 1u << kBits;
    std::uint32_t live;  // entries that name a node
    std::uint32_t slotPlusOne[kSize];
};

class HandleTable {
public:
    static constexpr std::uint32_t kPageCount = 1u << (31 - HandlePage::kBits);
    static constexpr std::uint32_t kNoPage = 0xFFFFFFFFu;

    // `firstHandle`: the counter's start. The module starts at 1; tests start near the end.
    explicit HandleTable(NodeHandle firstHandle = 1);
    ~HandleTable();
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Ids for trees, never given twice (until 2^32 trees were made).
    std::uint32_t NewOwnerId() { return nextOwner_.fetch_add(1, std::memory_order_relaxed); }

    struct Taken {
        std::uint32_t page = kNoPage;  // kNoPage: none is left
        std::uint32_t first = 0;       // the first entry of it to give
    };
    // Gives a page to `owner`, with `map` (all entries 0) as its map. Allocates nothing.
    Taken Take(std::uint32_t owner, HandlePage* map) noexcept;
    // Takes the page back from its owner, whose handles in it all name nothing now; returns its
    // map, for the caller to free outside the lock.
    HandlePage* GiveBack(std::uint32_t page) noexcept;
    // The map of a page when `owner` holds it, else null. Only the owner's thread calls it for
    // its own id; any thread may call it for any page.
    HandlePage* MapOf(std::uint32_t page, std::uint32_t owner) const noexcept {
        const Page& p = pages_[page];
        return p.owner.load(std::memory_order_acquire) == owner ? p.map : nullptr;
    }
    // The owner of the page of `handle` (0: none).
    std::uint32_t OwnerOf(NodeHandle handle) const noexcept {
        return handle <= 0 ? 0 : pages_[static_cast<std::uint32_t>(handle) >> HandlePage::kBits].owner.load(std::memory_order_acquire);
    }
    // A page that `owner` holds and that has a free entry, or kNoPage: the last resort when no
    // page is left. Only that owner's thread calls it, as only it changes its pages' maps.
    std::uint32_t OwnedPageWithRoom(std::uint32_t owner) const noexcept;

private:
    struct Page {
        std::atomic<std::uint32_t> owner{0};  // 0: the page is the table's
        HandlePage* map = nullptr;            // written under the lock; read by the owner
        std::uint32_t nextBack = kNoPage;     // the queue of pages given back, under the lock
    };
    std::unique_ptr<Page[]> pages_;
    const NodeHandle firstHandle_;
    std::uint32_t counted_;                   // the counter: the next page never given
    std::uint32_t backHead_ = kNoPage, backTail_ = kNoPage;
    std::atomic<std::uint32_t> nextOwner_{1};
    SpinLock lock_;
};

}  // namespace ramvel
