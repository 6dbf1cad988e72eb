#pragma once
// The system's pages behind the core's big blocks (BigBlocks.h). Each build links one
// implementation: mmap natively, VirtualAlloc in the Windows module.
#include <cstddef>

namespace ramvel {

// Fresh pages for `bytes` (whole pages), reading as zeros; null when the system has none.
// `hugePages`: the block belongs to a big tree and fills soon. Natively it is backed by huge
// pages (from their size on) or mapped whole at once; a system may take the hint or not.
void* AllocatePages(std::size_t bytes, bool hugePages) noexcept;
// Gives back pages from AllocatePages, with the size they were asked for.
void FreePages(void* pages, std::size_t bytes) noexcept;

}  // namespace ramvel
