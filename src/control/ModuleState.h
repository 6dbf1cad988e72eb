#pragma once
// State that belongs to the loaded module and is shared by every control object, on whatever
// thread it lives (but for the busy flag, which each thread has): each value is read and
// written whole, never torn by another thread's write.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "control/HandleTable.h"
#include "control/SpinLock.h"

namespace ramvel {

inline constexpr int kLevelTableSize = 201;  // entries 1..201

// The node last added at each level: [level] names the parent of a line at that level + 1.
using LevelEntries = std::array<NodeHandle, kLevelTableSize + 1>;  // [0] unused; 0 = no node

// One per process. A batch of node lines reads it whole when it starts and writes it back whole
// when it ends, so batches running at once on several threads each see a table that one of
// them wrote, never a mix.
class LevelTable {
public:
    LevelEntries Read() const {
        std::lock_guard<SpinLock> hold(lock_);
        return entries_;
    }
    void Write(const LevelEntries& entries) {
        std::lock_guard<SpinLock> hold(lock_);
        entries_ = entries;
    }
    void Clear() { Write({}); }
    // Drops every entry naming `node`, which is going.
    void Forget(NodeHandle node) {
        std::lock_guard<SpinLock> hold(lock_);
        for (NodeHandle& entry : entries_)
            if (entry == node) entry = 0;
    }
    NodeHandle At(int level) const {
        std::lock_guard<SpinLock> hold(lock_);
        return entries_[level];
    }

private:
    mutable SpinLock lock_;
    LevelEntries entries_{};
};

struct ModuleState {
    LevelTable levelTable;
    // The busy flag is the thread's. Controls on one thread share it, as one batch is meant to
    // mute them all; a control belongs to the apartment (thread) that made it and is called
    // there only, so a batch on another thread has nothing to do with it and must not mute it.
    static inline thread_local bool busy = false;
    std::atomic<NodeHandle> storedNode{0};
    std::atomic<std::int16_t> imageDisplay{-1};  // as the host's Images put gave it; read at creation
    HandleTable handles;

    void ClearLevelTable() { levelTable.Clear(); }
};

ModuleState& Module();

}  // namespace ramvel
