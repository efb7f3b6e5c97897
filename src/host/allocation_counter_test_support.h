// Test support: counts the calling thread's heap allocations while armed and can make the n-th
// one fail, as out-of-memory tests of mature C libraries do. Link ordinel_allocation_counter.
#pragma once

namespace host::testing {

struct AllocationCount {
  long long calls = 0;
  long long bytes = 0;
  bool failed = false;  // the allocation that was told to fail was reached
};

// Starts counting operator new on this thread (the nothrow forms, whose callers cope with a
// null result, are not counted); the `failAt`-th allocation from now (1-based)
// throws std::bad_alloc, none when `failAt` is 0.
void StartCountingAllocations(long long failAt = 0);

// Stops counting and returns what was counted since the start.
AllocationCount StopCountingAllocations();

}  // namespace host::testing
