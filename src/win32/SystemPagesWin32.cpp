// Pages from VirtualAlloc, reserved and committed at once; committed pages read as zeros.
// Large pages need a privilege hosts seldom hold: the hint is not taken.
#include <windows.h>

#include "platform/SystemPages.h"

namespace ramvel {

void* AllocatePages(std::size_t bytes, bool) noexcept {
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* pages, std::size_t) noexcept { VirtualFree(pages, 0, MEM_RELEASE); }

}  // namespace ramvel
