#pragma once
// State that belongs to the loaded module and is shared by every control object.
#include <array>
#include <cstdint>

#include "control/HandleTable.h"

namespace ramvel {

inline constexpr int kLevelTableSize = 201;  // entries 1..201

struct ModuleState {
    std::array<NodeHandle, kLevelTableSize + 1> levelTable{};  // [0] unused; 0 = no node
    bool busy = false;
    NodeHandle storedNode = 0;
    std::int16_t imageDisplay = -1;  // as the host's Images put gave it; read at creation
    HandleTable handles;

    void ClearLevelTable() { levelTable.fill(0); }
};

ModuleState& Module();

}  // namespace ramvel
