// Large requests failing as they do when memory runs out, through the counting allocator.
#include <gtest/gtest.h>

#include <string>

#include "host/allocation_counter_test_support.h"
#include "json/json_document.h"

namespace json {
namespace {

// The first reservation and every later growth failing: reported as such, never thrown,
// never taken for a malformed text; the document stays usable.
TEST(JsonDocumentAllocation, FailureIsReportedNotThrown) {
  if (!host::testing::AllocationHookAvailable()) GTEST_SKIP() << "the sanitizer owns operator new";
  std::string text = "[";
  for (int i = 0; i < 40000; ++i) text += "[1,2.5,\"a\\u00e9\"],";
  text += "[]]";
  const size_t limits[] = {0, 20000, 1100000};  // the first reservation, a later growth
  for (const size_t limit : limits) {
    Document document;
    ParseResult result = ParseResult::kParsed;
    host::testing::StartCountingAllocations(0, limit);
    EXPECT_NO_THROW(result = document.Parse(text)) << limit;
    host::testing::StopCountingAllocations();
    EXPECT_EQ(result, ParseResult::kOutOfMemory) << limit;
    EXPECT_TRUE(document.empty()) << limit;
    EXPECT_EQ(document.Parse(text), ParseResult::kParsed) << limit;
    EXPECT_EQ(document.Root().size(), 40001u) << limit;
  }
}

}  // namespace
}  // namespace json
