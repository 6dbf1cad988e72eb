#pragma once
// Large, long-lived memory blocks for node and text storage and handle maps: whole pages from
// the system (platform/SystemPages.h), the same sizes on every system. Where the system offers
// huge pages, big trees ask for them: a million nodes then cost a few hundred page faults
// instead of tens of thousands.
#include <cstddef>

namespace ramvel {

// The unit blocks are rounded up to.
inline constexpr std::size_t kPageBytes = 4096;
inline constexpr std::size_t WholePages(std::size_t bytes) { return (bytes + kPageBytes - 1) & ~(kPageBytes - 1); }

// Memory for `bytes` that reads as zeros, aligned for any node type; a page costs nothing
// until it is written. `hugePages`: the block belongs to a big tree (a hint, see
// SystemPages.h). Throws std::bad_alloc when the system has none.
void* AllocateBlock(std::size_t bytes, bool hugePages = false);
void FreeBlock(void* block, std::size_t bytes) noexcept;

}  // namespace ramvel
