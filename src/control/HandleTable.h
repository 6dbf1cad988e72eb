#pragma once
// Module-wide node handles: 32-bit, > 0, unique across every tree of the process and never
// given out twice, so a removed node's handle can never be taken for a live node.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/TreeWidget.h"

namespace ramvel {

class TreeModel;

class HandleTable {
public:
    struct Entry {
        TreeModel* owner = nullptr;  // null: the handle names no live node
        std::uint32_t slot = 0;
    };

    NodeHandle Allocate(TreeModel* owner, std::uint32_t slot);
    void Release(NodeHandle handle);
    Entry Lookup(NodeHandle handle) const;

private:
    static constexpr int kPageBits = 12;
    static constexpr std::uint32_t kPageSize = 1u << kPageBits;
    struct Page {
        std::array<Entry, kPageSize> entries{};
        std::uint32_t live = 0;
    };
    // Pages are dropped once all their handles died and no handle is given from them any more.
    std::vector<std::unique_ptr<Page>> pages_;
    std::int64_t next_ = 1;
};

}  // namespace ramvel
