#pragma once
// A lock for the module's few shared tables, whose critical sections last nanoseconds: waiting
// threads spin (yielding now and then) instead of sleeping in the system, which under contention
// would cost far more than the work the lock protects.
#include <atomic>
#include <thread>

namespace ramvel {

class SpinLock {
public:
    void lock() noexcept {
        for (int spins = 0; locked_.exchange(true, std::memory_order_acquire); ++spins) {
            while (locked_.load(std::memory_order_relaxed)) {
                if (++spins % 64 == 0) std::this_thread::yield();
            }
        }
    }
    void unlock() noexcept { locked_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> locked_{false};
};

}  // namespace ramvel
