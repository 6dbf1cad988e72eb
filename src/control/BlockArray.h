#pragma once
// A growable array of plain values for a tree's big per-node arrays. Small, it lives on the
// heap; from 1 MB on, in a block of its own (BigBlocks.h), which big trees back with huge
// pages: a million entries then cost a few page faults instead of thousands.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "control/BigBlocks.h"

namespace ramvel {

template <typename T>
class BlockArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    BlockArray() = default;
    ~BlockArray() { Free(data_, capacity_); }
    BlockArray(const BlockArray&) = delete;
    BlockArray& operator=(const BlockArray&) = delete;

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    // Room for `count` values. Out of memory, it throws std::bad_alloc and changes nothing.
    void reserve(std::size_t count) {
        if (count <= capacity_) return;
        T* fresh = Allocate(count);
        if (size_ != 0) std::memcpy(static_cast<void*>(fresh), data_, size_ * sizeof(T));
        Free(data_, capacity_);
        data_ = fresh;
        capacity_ = count;
    }
    // Grows to `count` values, the new ones `fill`, with room to spare for more. Out of
    // memory, it throws std::bad_alloc and changes nothing.
    void resize(std::size_t count, T fill) {
        if (count > capacity_) reserve(std::max(count, 2 * capacity_));
        for (std::size_t i = size_; i < count; ++i) data_[i] = fill;
        size_ = std::max(size_, count);
    }
    // Within the room reserved: never allocates.
    void push_back(T value) noexcept { data_[size_++] = value; }
    void resize(std::size_t smaller) noexcept { size_ = std::min(size_, smaller); }
    void clear() noexcept { size_ = 0; }
    // Gives the memory back.
    void Release() noexcept {
        Free(data_, capacity_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

private:
    static constexpr std::size_t kBlockFrom = std::size_t{1} << 20;
    static bool InBlock(std::size_t count) { return count * sizeof(T) >= kBlockFrom; }
    static T* Allocate(std::size_t count) {
        if (InBlock(count)) return static_cast<T*>(AllocateBlock(count * sizeof(T), true));
        return static_cast<T*>(::operator new(count * sizeof(T)));
    }
    static void Free(T* data, std::size_t count) noexcept {
        if (!data) return;
        if (InBlock(count)) FreeBlock(data, count * sizeof(T));
        else ::operator delete(data);
    }

    T* data_ = nullptr;
    std::size_t size_ = 0, capacity_ = 0;
};

}  // namespace ramvel
