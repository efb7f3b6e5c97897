// Replaces the global allocation functions of this test program, so that a test can make
// every large request fail as it does when memory runs out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <new>
#include <string>

#include "json/json_document.h"

namespace {

// Requests above this many bytes fail; no limit unless a test sets one.
size_t failAbove = std::numeric_limits<size_t>::max();

class FailingAllocations {
 public:
  explicit FailingAllocations(size_t bytes) { failAbove = bytes; }
  ~FailingAllocations() { failAbove = std::numeric_limits<size_t>::max(); }
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

void* Allocate(size_t size) noexcept {
  if (size > failAbove) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }

namespace json {
namespace {

// The first reservation and every later growth failing: reported as such, never thrown,
// never taken for a malformed text; the document stays usable.
TEST(JsonDocumentAllocation, FailureIsReportedNotThrown) {
  std::string text = "[";
  for (int i = 0; i < 40000; ++i) text += "[1,2.5,\"a\\u00e9\"],";
  text += "[]]";
  const size_t limits[] = {0, 20000, 1100000};  // the first reservation, a later growth
  for (const size_t limit : limits) {
    Document document;
    ParseResult result = ParseResult::kParsed;
    {
      FailingAllocations failing(limit);
      EXPECT_NO_THROW(result = document.Parse(text)) << limit;
    }
    EXPECT_EQ(result, ParseResult::kOutOfMemory) << limit;
    EXPECT_TRUE(document.empty()) << limit;
    EXPECT_EQ(document.Parse(text), ParseResult::kParsed) << limit;
    EXPECT_EQ(document.Root().size(), 40001u) << limit;
  }
}

}  // namespace
}  // namespace json
