#include "control/HandleTable.h"

#include <new>

#include "control/BigBlocks.h"
#include "control/RamvelError.h"

namespace ramvel {

namespace {
constexpr std::size_t kPageBytes = (std::size_t{1} << 18) * sizeof(HandleTable::Entry);
}

HandleTable::~HandleTable() {
    for (Page& page : pages_) FreeBlock(page.entries, kPageBytes);
}

NodeHandle HandleTable::Allocate(std::uint32_t owner, std::uint32_t slot) {
    std::lock_guard<SpinLock> hold(lock_);
    if (next_ > 0x7FFFFFFF) throw RamvelError(u"No node handle is left for a new node");
    const auto handle = static_cast<NodeHandle>(next_);
    const std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
    if (page >= pages_.size()) pages_.resize(page + 1);
    Page& p = pages_[page];
    if (!p.entries) {
        void* block = AllocateBlock(kPageBytes, page > 0);
        p.entries = new (block) Entry[kPageSize]{};
    }
    ++next_;
    p.entries[handle & (kPageSize - 1)] = {owner, slot};
    ++p.live;
    return handle;
}

void HandleTable::Release(NodeHandle handle) {
    std::lock_guard<SpinLock> hold(lock_);
    const std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
    if (handle <= 0 || page >= pages_.size() || !pages_[page].entries) return;
    Page& p = pages_[page];
    Entry& entry = p.entries[handle & (kPageSize - 1)];
    if (entry.owner == 0) return;
    entry = {};
    const bool givingFromIt = page == (static_cast<std::uint64_t>(next_) >> kPageBits);
    if (--p.live == 0 && !givingFromIt) {
        FreeBlock(p.entries, kPageBytes);
        p.entries = nullptr;
    }
}

}  // namespace ramvel
