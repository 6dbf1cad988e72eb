#pragma once
// A lock for the module's shared tables (the level table, the pages of the handle table), held
// to copy a few hundred bytes or to link a page, never across an allocation. A waiting thread
// spins a little, as the holder is usually about to let go, then sleeps in the system until
// the holder wakes it: a holder that lost its processor is never starved by spinning threads.
#include <atomic>
#include <cstdint>

namespace ramvel {

class SpinLock {
public:
    void lock() noexcept {
        for (int spin = 0; spin < kSpins; ++spin) {
            if (state_.load(std::memory_order_relaxed) == kFree &&
                state_.exchange(kHeld, std::memory_order_acquire) == kFree)
                return;
            Pause();
        }
        // Sleep, telling the holder there is someone to wake. Woken, take the lock marked so
        // too, as other sleepers may remain.
        while (state_.exchange(kHeldWithSleepers, std::memory_order_acquire) != kFree)
            state_.wait(kHeldWithSleepers, std::memory_order_relaxed);
    }
    void unlock() noexcept {
        if (state_.exchange(kFree, std::memory_order_release) == kHeldWithSleepers) state_.notify_one();
    }

private:
    static constexpr std::uint32_t kFree = 0, kHeld = 1, kHeldWithSleepers = 2;
    static constexpr int kSpins = 100;
    static void Pause() noexcept {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    std::atomic<std::uint32_t> state_{kFree};
};

}  // namespace ramvel
