// Replaces the global operator new of the test program that links it; only the arming thread
// is counted, so workers and the test framework run as usual.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "host/allocation_counter_test_support.h"

// ThreadSanitizer's runtime defines the allocation functions itself.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORDINEL_RUNTIME_OWNS_NEW 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define ORDINEL_RUNTIME_OWNS_NEW 1
#endif

namespace host::testing {
namespace {

thread_local bool armed = false;
thread_local long long failAt = 0;
thread_local std::size_t failAbove = SIZE_MAX;
thread_local AllocationCount count;

}  // namespace

bool AllocationHookAvailable() {
#ifdef ORDINEL_RUNTIME_OWNS_NEW
  return false;
#else
  return true;
#endif
}

void StartCountingAllocations(long long failAtCall, std::size_t failAboveBytes) {
  count = AllocationCount{};
  failAt = failAtCall;
  failAbove = failAboveBytes;
  armed = true;
}

AllocationCount StopCountingAllocations() {
  armed = false;
  return count;
}

}  // namespace host::testing

#ifndef ORDINEL_RUNTIME_OWNS_NEW
namespace host::testing {
namespace {

void* Allocate(std::size_t size) {
  if (armed) {
    ++count.calls;
    count.bytes += static_cast<long long>(size);
    if (count.calls == failAt || size > failAbove) {
      count.failed = true;
      throw std::bad_alloc();
    }
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* AllocateNothrow(std::size_t size) noexcept {
  if (armed && size > failAbove) {
    count.failed = true;
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace
}  // namespace host::testing

void* operator new(std::size_t size) { return host::testing::Allocate(size); }
void* operator new[](std::size_t size) { return host::testing::Allocate(size); }
// Callers of the nothrow forms (std::stable_sort's buffer) already cope without memory; they
// are not counted and fail only by size, so every counted failure is one the caller must handle.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return host::testing::AllocateNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return host::testing::AllocateNothrow(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#endif  // ORDINEL_RUNTIME_OWNS_NEW
