#include "FailingAllocator.h"

#include <cstdlib>
#include <new>
#ifdef _WIN32
#include <malloc.h>  // _aligned_malloc
#endif

namespace ramvel::test {
namespace {

// Armed for the thread that armed it: other threads of the program (one that closes message
// boxes, say) allocate as usual and never take the failure.
thread_local bool armed = false;
thread_local bool failed = false;
thread_local std::size_t remaining = 0;

// Whether this allocation is the one to fail.
bool FailNow() {
    if (!armed || --remaining != 0) return false;
    armed = false;
    failed = true;
    return true;
}

// `alignment` 0: the plain forms, whose blocks go back through std::free. The aligned forms
// take blocks that only Release(block, true) gives back (Windows has no aligned_alloc).
void* Allocate(std::size_t size, std::size_t alignment) noexcept {
    if (FailNow()) return nullptr;
    if (size == 0) size = 1;
    if (alignment == 0) return std::malloc(size);
#ifdef _WIN32
    return _aligned_malloc(size, alignment);
#else
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
#endif
}

void Release(void* block, bool aligned) noexcept {
#ifdef _WIN32
    if (aligned) {
        _aligned_free(block);
        return;
    }
#endif
    (void)aligned;
    std::free(block);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
    void* block = Allocate(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

void FailAllocationNumber(std::size_t n) {
    armed = n > 0;
    failed = false;
    remaining = n;
}

bool DisarmAllocationFailure() {
    armed = false;
    return failed;
}

}  // namespace ramvel::test

using ramvel::test::Allocate;
using ramvel::test::AllocateOrThrow;
using ramvel::test::Release;

void* operator new(std::size_t size) { return AllocateOrThrow(size, 0); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Allocate(size, static_cast<std::size_t>(a));
}

void operator delete(void* block) noexcept { Release(block, false); }
void operator delete[](void* block) noexcept { Release(block, false); }
void operator delete(void* block, std::size_t) noexcept { Release(block, false); }
void operator delete[](void* block, std::size_t) noexcept { Release(block, false); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block, true); }
void operator delete[](void* block, std::align_val_t) noexcept { Release(block, true); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Release(block, true); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Release(block, true); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block, false); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block, false); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { Release(block, true); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { Release(block, true); }
