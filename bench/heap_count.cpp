// Replaced global allocation functions that count the heap of open HeapWindows.
#include "heap_count.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define ORDINEL_HEAP_COUNT_OFF 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORDINEL_HEAP_COUNT_OFF 1
#endif

namespace bench {
namespace {

// One thread allocates while a window is open; the benchmark runner starts no others.
bool counting = false;
long long live = 0;
long long peak = 0;

}  // namespace

void CountTaken(void* block) {
  if (!counting || block == nullptr) return;
  live += static_cast<long long>(malloc_usable_size(block));
  peak = std::max(peak, live);
}

void CountGivenBack(void* block) {
  if (counting && block != nullptr) live -= static_cast<long long>(malloc_usable_size(block));
}

HeapWindow::HeapWindow() {
  live = 0;
  peak = 0;
  counting = true;
}
HeapWindow::~HeapWindow() { counting = false; }
long long HeapWindow::Live() const { return live; }
long long HeapWindow::Peak() const { return peak; }

#ifdef ORDINEL_HEAP_COUNT_OFF
bool HeapCountingAvailable() { return false; }
#else
bool HeapCountingAvailable() { return true; }
#endif

}  // namespace bench

#ifndef ORDINEL_HEAP_COUNT_OFF
namespace {

void* Take(size_t size, size_t alignment) noexcept {
  if (size == 0) size = 1;
  void* block = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    block = std::malloc(size);
  } else if (posix_memalign(&block, alignment, size) != 0) {
    block = nullptr;
  }
  bench::CountTaken(block);
  return block;
}

void GiveBack(void* block) noexcept {
  bench::CountGivenBack(block);
  std::free(block);
}

void* TakeOrThrow(size_t size, size_t alignment) {
  if (void* block = Take(size, alignment)) return block;
  throw std::bad_alloc();
}

constexpr size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(size_t size) { return TakeOrThrow(size, kPlain); }
void* operator new[](size_t size) { return TakeOrThrow(size, kPlain); }
void* operator new(size_t size, std::align_val_t a) { return TakeOrThrow(size, static_cast<size_t>(a)); }
void* operator new[](size_t size, std::align_val_t a) { return TakeOrThrow(size, static_cast<size_t>(a)); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Take(size, kPlain); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Take(size, kPlain); }
void* operator new(size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Take(size, static_cast<size_t>(a));
}
void* operator new[](size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Take(size, static_cast<size_t>(a));
}
void operator delete(void* block) noexcept { GiveBack(block); }
void operator delete[](void* block) noexcept { GiveBack(block); }
void operator delete(void* block, size_t) noexcept { GiveBack(block); }
void operator delete[](void* block, size_t) noexcept { GiveBack(block); }
void operator delete(void* block, std::align_val_t) noexcept { GiveBack(block); }
void operator delete[](void* block, std::align_val_t) noexcept { GiveBack(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { GiveBack(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { GiveBack(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { GiveBack(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { GiveBack(block); }
#endif
