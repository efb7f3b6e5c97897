// Test support: counts the calling thread's heap allocations while armed and can make the n-th
// one fail, as out-of-memory tests of mature C libraries do. Link ordinel_allocation_counter.
#pragma once

#include <cstddef>
#include <cstdint>

namespace host::testing {

struct AllocationCount {
  long long calls = 0;
  long long bytes = 0;
  bool failed = false;  // the allocation that was told to fail was reached
};

// False where the sanitizer runtime owns operator new (ThreadSanitizer): nothing is counted and
// nothing fails there, so tests that need the hook skip.
bool AllocationHookAvailable();

// Starts counting operator new on this thread; the `failAt`-th allocation from now (1-based)
// and every one of more than `failAbove` bytes throw std::bad_alloc (none when `failAt` is 0
// and `failAbove` is the largest size). The nothrow forms, whose callers cope with a null
// result, are not counted and fail only by size.
void StartCountingAllocations(long long failAt = 0, size_t failAbove = SIZE_MAX);

// Stops counting and returns what was counted since the start.
AllocationCount StopCountingAllocations();

}  // namespace host::testing
