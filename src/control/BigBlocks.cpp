#include "control/BigBlocks.h"

#include <new>

#include "platform/SystemPages.h"

namespace ramvel {

void* AllocateBlock(std::size_t bytes, bool hugePages) {
    void* block = AllocatePages(WholePages(bytes), hugePages);
    if (!block) throw std::bad_alloc();
    return block;
}

void FreeBlock(void* block, std::size_t bytes) noexcept {
    if (block) FreePages(block, WholePages(bytes));
}

}  // namespace ramvel
