// The core's pages from operator new, for the out-of-memory programs: linked in place of the
// system's, they make block allocations fail on demand like any other allocation.
#include <cstring>
#include <new>

#include "platform/SystemPages.h"

namespace ramvel {

namespace {
constexpr std::align_val_t kAlignment{64};
}

void* AllocatePages(std::size_t bytes, bool) noexcept {
    void* pages = ::operator new(bytes, kAlignment, std::nothrow);
    return pages ? std::memset(pages, 0, bytes) : nullptr;
}

void FreePages(void* pages, std::size_t) noexcept { ::operator delete(pages, kAlignment); }

}  // namespace ramvel
