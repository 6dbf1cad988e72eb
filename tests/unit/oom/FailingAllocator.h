#pragma once
// Out-of-memory injection for this test program, which replaces the global operator new: once
// armed, the Nth allocation from then on fails (std::bad_alloc, or null for the nothrow
// forms). One failure per arming; the allocations after it succeed, as when memory frees up.
// Only the arming thread's allocations count.
#include <cstddef>

namespace ramvel::test {

// Counts allocations from now on; the `n`th (from 1) fails.
void FailAllocationNumber(std::size_t n);
// Stops counting. Returns whether the armed failure happened.
bool DisarmAllocationFailure();

}  // namespace ramvel::test
