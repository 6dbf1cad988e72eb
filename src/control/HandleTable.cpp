#include "control/HandleTable.h"

#include "control/RamvelError.h"

namespace ramvel {

NodeHandle HandleTable::Allocate(TreeModel* owner, std::uint32_t slot) {
    if (next_ > 0x7FFFFFFF) throw RamvelError(u"No node handle is left for a new node");
    auto handle = static_cast<NodeHandle>(next_++);
    std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
    if (page >= pages_.size()) pages_.resize(page + 1);
    if (!pages_[page]) pages_[page] = std::make_unique<Page>();
    Page& p = *pages_[page];
    p.entries[handle & (kPageSize - 1)] = {owner, slot};
    ++p.live;
    return handle;
}

void HandleTable::Release(NodeHandle handle) {
    std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
    if (handle <= 0 || page >= pages_.size() || !pages_[page]) return;
    Page& p = *pages_[page];
    Entry& entry = p.entries[handle & (kPageSize - 1)];
    if (!entry.owner) return;
    entry = {};
    // A page whose handles all died is dropped, unless handles are still given out from it.
    bool pageInUse = page == (static_cast<std::uint64_t>(next_) >> kPageBits);
    if (--p.live == 0 && !pageInUse) pages_[page].reset();
}

HandleTable::Entry HandleTable::Lookup(NodeHandle handle) const {
    std::size_t page = static_cast<std::uint32_t>(handle) >> kPageBits;
    if (handle <= 0 || page >= pages_.size() || !pages_[page]) return {};
    return pages_[page]->entries[handle & (kPageSize - 1)];
}

}  // namespace ramvel
