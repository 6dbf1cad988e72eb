#include "control/TreeHandles.h"

#include "control/BigBlocks.h"
#include "control/RamvelError.h"

namespace ramvel {

TreeHandles::~TreeHandles() {
    if (page_ == HandleTable::kNoPage) return;
    const HandlePage* map = table_.MapOf(page_, owner_);
    if (map->live == 0) FreeBlock(table_.GiveBack(page_), sizeof(HandlePage));
}

void TreeHandles::TakePage() {
    // A tree's first page fills as it grows; one that needs another is a big tree.
    auto* map = static_cast<HandlePage*>(AllocateBlock(sizeof(HandlePage), tookPage_));
    const HandleTable::Taken taken = table_.Take(owner_, map);
    if (taken.page != HandleTable::kNoPage) {
        tookPage_ = true;
        page_ = taken.page;
        next_ = taken.first;
        return;
    }
    FreeBlock(map, sizeof(HandlePage));
    // Every page is held by some tree. This tree's own pages may still have free entries.
    const std::uint32_t own = table_.OwnedPageWithRoom(owner_);
    if (own == HandleTable::kNoPage) throw RamvelError(u"No node handle is left for a new node");
    page_ = own;
    next_ = own == 0 ? 1 : 0;
    const HandlePage& ownMap = *table_.MapOf(own, owner_);
    if (ownMap.slotPlusOne[next_] != 0) Advance(ownMap);
}

void TreeHandles::Advance(const HandlePage& map) noexcept {
    do {
        if (++next_ == HandlePage::kSize) {
            page_ = HandleTable::kNoPage;
            return;
        }
    } while (map.slotPlusOne[next_] != 0);
}

NodeHandle TreeHandles::Allocate(std::uint32_t slot) {
    if (page_ == HandleTable::kNoPage) TakePage();
    HandlePage& map = *table_.MapOf(page_, owner_);
    const auto handle = static_cast<NodeHandle>(page_ << HandlePage::kBits | next_);
    map.slotPlusOne[next_] = slot + 1;
    ++map.live;
    Advance(map);
    return handle;
}

void TreeHandles::Release(NodeHandle handle) noexcept {
    if (handle <= 0) return;
    const auto h = static_cast<std::uint32_t>(handle);
    const std::uint32_t page = h >> HandlePage::kBits;
    HandlePage* map = table_.MapOf(page, owner_);
    if (!map) return;
    std::uint32_t& entry = map->slotPlusOne[h & (HandlePage::kSize - 1)];
    if (entry == 0) return;
    entry = 0;
    if (--map->live == 0 && page != page_) FreeBlock(table_.GiveBack(page), sizeof(HandlePage));
}

}  // namespace ramvel
