#pragma once
// The system's pages behind the core's big blocks (BigBlocks.h). Each build links one
// implementation: mmap natively, VirtualAlloc in the Windows module.
#include <cstddef>

namespace ramvel {

// Fresh pages for `bytes` (whole pages), reading as zeros; null when the system has none.
// `hugePages` asks for large pages where the system offers them as a hint.
void* AllocatePages(std::size_t bytes, bool hugePages) noexcept;
// Gives back pages from AllocatePages, with the size they were asked for.
void FreePages(void* pages, std::size_t bytes) noexcept;

}  // namespace ramvel
