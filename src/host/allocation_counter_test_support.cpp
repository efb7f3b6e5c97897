// Replaces the global operator new of the test program that links it; only the arming thread
// is counted, so workers and the test framework run as usual.
#include <cstdlib>
#include <new>

#include "host/allocation_counter_test_support.h"

namespace host::testing {
namespace {

thread_local bool armed = false;
thread_local long long failAt = 0;
thread_local AllocationCount count;

void* Allocate(std::size_t size) {
  if (armed) {
    ++count.calls;
    count.bytes += static_cast<long long>(size);
    if (count.calls == failAt) {
      count.failed = true;
      throw std::bad_alloc();
    }
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void StartCountingAllocations(long long failAtCall) {
  count = AllocationCount{};
  failAt = failAtCall;
  armed = true;
}

AllocationCount StopCountingAllocations() {
  armed = false;
  return count;
}

}  // namespace host::testing

void* operator new(std::size_t size) { return host::testing::Allocate(size); }
void* operator new[](std::size_t size) { return host::testing::Allocate(size); }
// Callers of the nothrow forms (std::stable_sort's buffer) already cope without memory; they
// are not counted, so every counted failure is one the caller must handle.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
