#pragma once
// The memory the benchmark's process holds, for figures of bytes per node.
#include <cstddef>

namespace ramvel::bench {

// Resident memory natively; under Windows the working set (see ProcessMemory.cpp).
std::size_t ProcessMemoryBytes();

}  // namespace ramvel::bench
