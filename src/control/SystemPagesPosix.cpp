// Pages from mmap, for native builds. Huge pages need 2 MB alignment: a block that asks for
// them is mapped with room to spare, and the unaligned ends go back at once. A smaller block
// of a big tree is mapped whole at once: one call instead of a fault for each page.
#include <sys/mman.h>

#include <cstdint>

#include "platform/SystemPages.h"

namespace ramvel {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

void* Map(std::size_t bytes, int flags = 0) noexcept {
    void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}
}  // namespace

void* AllocatePages(std::size_t bytes, bool hugePages) noexcept {
    if (!hugePages) return Map(bytes);
    if (bytes < kHugePage) return Map(bytes, MAP_POPULATE);
    auto* raw = static_cast<char*>(Map(bytes + kHugePage));
    if (!raw) return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    char* pages = raw + ((kHugePage - address % kHugePage) % kHugePage);
    if (pages != raw) munmap(raw, static_cast<std::size_t>(pages - raw));
    char* end = raw + bytes + kHugePage;
    if (end != pages + bytes) munmap(pages + bytes, static_cast<std::size_t>(end - (pages + bytes)));
#ifdef MADV_HUGEPAGE
    madvise(pages, bytes, MADV_HUGEPAGE);  // a hint: a refusal changes nothing
#endif
    return pages;
}

void FreePages(void* pages, std::size_t bytes) noexcept { munmap(pages, bytes); }

}  // namespace ramvel
