#pragma once
// Large, long-lived memory blocks for node and text storage. Where the system offers
// transparent huge pages, big trees ask for them: a million nodes then cost a few hundred
// page faults instead of tens of thousands.
#include <cstddef>

namespace ramvel {

// Uninitialised memory for `bytes`, aligned for any node type. `hugePages` is a hint.
void* AllocateBlock(std::size_t bytes, bool hugePages);
// Memory for `bytes` that reads as zeros. Where the system maps fresh pages as zeros, a page
// costs nothing until it is written.
void* AllocateZeroedBlock(std::size_t bytes);
void FreeBlock(void* block, std::size_t bytes) noexcept;

}  // namespace ramvel
