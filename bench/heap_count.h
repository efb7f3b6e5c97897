// Counting the heap a piece of code takes: the program that links heap_count.cpp replaces the
// global allocation functions, and a HeapWindow reads the bytes held while it is open.
#pragma once

#include <cstddef>

namespace bench {

// False when the allocation functions could not be replaced (sanitizer builds): every
// figure is then 0.
bool HeapCountingAvailable();

// Heap held (as the allocator hands it out, slack included) by blocks taken while the window
// is open. Windows do not nest.
class HeapWindow {
 public:
  HeapWindow();
  ~HeapWindow();
  HeapWindow(const HeapWindow&) = delete;
  HeapWindow& operator=(const HeapWindow&) = delete;

  // Bytes taken and not yet given back since the window opened.
  long long Live() const;
  // The most Live() has been since the window opened.
  long long Peak() const;
};

// Counts a block from malloc taken or given back outside operator new and delete, for a
// library with an allocator hook of its own. Null blocks count nothing.
void CountTaken(void* block);
void CountGivenBack(void* block);

}  // namespace bench
