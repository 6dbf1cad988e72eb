#include "control/BigBlocks.h"

#include <cstdint>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ramvel {

#if defined(__linux__)

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

void* Map(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    return block;
}
}  // namespace

std::size_t WholePages(std::size_t bytes) { return (bytes + 4095) & ~std::size_t{4095}; }

void* AllocateBlock(std::size_t bytes, bool hugePages) {
    bytes = WholePages(bytes);
    if (!hugePages) return Map(bytes);
    // Huge pages need 2 MB alignment: map more, then give back the unaligned ends.
    auto* raw = static_cast<char*>(Map(bytes + kHugePage));
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    char* block = raw + ((kHugePage - address % kHugePage) % kHugePage);
    if (block != raw) munmap(raw, static_cast<std::size_t>(block - raw));
    char* end = raw + bytes + kHugePage;
    if (end != block + bytes) munmap(block + bytes, static_cast<std::size_t>(end - (block + bytes)));
    madvise(block, bytes, MADV_HUGEPAGE);  // a hint: a refusal changes nothing
    return block;
}

void* AllocateZeroedBlock(std::size_t bytes) { return Map(WholePages(bytes)); }

void FreeBlock(void* block, std::size_t bytes) noexcept {
    if (block) munmap(block, WholePages(bytes));
}

#else

void* AllocateBlock(std::size_t bytes, bool) { return ::operator new(bytes, std::align_val_t(64)); }

void* AllocateZeroedBlock(std::size_t bytes) { return std::memset(AllocateBlock(bytes, false), 0, bytes); }

void FreeBlock(void* block, std::size_t) noexcept { ::operator delete(block, std::align_val_t(64)); }

#endif

}  // namespace ramvel
