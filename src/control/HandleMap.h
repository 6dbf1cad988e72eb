#pragma once
// A map from node handles to a small value, in one array (open addressing, linear probing):
// no allocation per entry, so a widget can keep thousands of entries and replace them all
// without thousands of allocations. Grows by doubling; a failed growth changes nothing.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/TreeWidget.h"

namespace ramvel {

template <typename Value>
class HandleMap {
public:
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    // The value for `handle` (> 0), or a value-initialised one.
    Value Find(NodeHandle handle) const {
        if (slots_.empty()) return Value{};
        for (std::size_t i = Home(handle);; i = Next(i)) {
            if (slots_[i].first == handle) return slots_[i].second;
            if (slots_[i].first == 0) return Value{};
        }
    }
    // Sets the value for `handle` (> 0). Throws std::bad_alloc and changes nothing.
    void Set(NodeHandle handle, Value value) {
        if (2 * (size_ + 1) > slots_.size()) Reserve(size_ + 1);
        std::size_t i = Home(handle);
        for (; slots_[i].first != 0 && slots_[i].first != handle; i = Next(i)) {}
        if (slots_[i].first == 0) ++size_;
        slots_[i] = {handle, value};
    }
    void Erase(NodeHandle handle) {
        if (slots_.empty()) return;
        std::size_t i = Home(handle);
        for (; slots_[i].first != handle; i = Next(i))
            if (slots_[i].first == 0) return;
        // Entries after the gap that would no longer be found move back into it.
        for (std::size_t j = Next(i);; j = Next(j)) {
            if (slots_[j].first == 0) break;
            const std::size_t home = Home(slots_[j].first);
            const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (!between) {
                slots_[i] = slots_[j];
                i = j;
            }
        }
        slots_[i] = {};
        --size_;
    }
    void Clear() {
        slots_.assign(slots_.size(), {});
        size_ = 0;
    }
    // Room for `count` entries without growing. Throws std::bad_alloc and changes nothing.
    void Reserve(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < 2 * count) capacity *= 2;
        if (capacity <= slots_.size()) return;
        std::vector<std::pair<NodeHandle, Value>> old(capacity);
        old.swap(slots_);
        size_ = 0;
        for (const auto& slot : old)
            if (slot.first != 0) Set(slot.first, slot.second);
    }

private:
    std::size_t Home(NodeHandle handle) const {
        // Fibonacci hashing spreads handles given out in order.
        return static_cast<std::size_t>((static_cast<std::uint32_t>(handle) * 2654435769u) & (slots_.size() - 1));
    }
    std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

    std::vector<std::pair<NodeHandle, Value>> slots_;
    std::size_t size_ = 0;
};

}  // namespace ramvel
