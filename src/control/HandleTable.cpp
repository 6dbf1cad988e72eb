#include "control/HandleTable.h"

#include <mutex>

#include "control/BigBlocks.h"

namespace ramvel {

HandleTable::HandleTable(NodeHandle firstHandle)
    : pages_(std::make_unique<Page[]>(kPageCount)),
      firstHandle_(firstHandle > 0 ? firstHandle : 1),
      counted_(static_cast<std::uint32_t>(firstHandle_) >> HandlePage::kBits) {}

HandleTable::~HandleTable() {
    for (std::uint32_t page = 0; page < kPageCount; ++page)
        if (pages_[page].map) FreeBlock(pages_[page].map, sizeof(HandlePage));
}

HandleTable::Taken HandleTable::Take(std::uint32_t owner, HandlePage* map) noexcept {
    std::lock_guard<SpinLock> hold(lock_);
    Taken taken;
    if (counted_ < kPageCount) {
        taken.page = counted_++;
        if (taken.page == static_cast<std::uint32_t>(firstHandle_) >> HandlePage::kBits)
            taken.first = static_cast<std::uint32_t>(firstHandle_) & (HandlePage::kSize - 1);
    } else if (backHead_ != kNoPage) {
        taken.page = backHead_;
        backHead_ = pages_[taken.page].nextBack;
        if (backHead_ == kNoPage) backTail_ = kNoPage;
    } else {
        return taken;
    }
    if (taken.page == 0 && taken.first == 0) taken.first = 1;  // handle 0 names no node
    Page& p = pages_[taken.page];
    p.map = map;
    p.nextBack = kNoPage;
    p.owner.store(owner, std::memory_order_release);
    return taken;
}

HandlePage* HandleTable::GiveBack(std::uint32_t page) noexcept {
    std::lock_guard<SpinLock> hold(lock_);
    Page& p = pages_[page];
    HandlePage* map = p.map;
    p.owner.store(0, std::memory_order_release);
    p.map = nullptr;
    if (backTail_ == kNoPage) backHead_ = page; else pages_[backTail_].nextBack = page;
    backTail_ = page;
    return map;
}

std::uint32_t HandleTable::OwnedPageWithRoom(std::uint32_t owner) const noexcept {
    for (std::uint32_t page = 0; page < kPageCount; ++page) {
        const HandlePage* map = MapOf(page, owner);
        if (map && map->live < HandlePage::kSize - (page == 0 ? 1 : 0)) return page;
    }
    return kNoPage;
}

}  // namespace ramvel
