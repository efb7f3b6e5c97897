#include "payload/answer_fields.h"

#include <gtest/gtest.h>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

// The timestamp rule as answers meet it: a date-time text first, any other value by its number.
TEST(AnswerFields, TimestampsReadTextsThenNumbers) {
  // The date-time and number rules themselves are the calendar's.
  const std::pair<const char*, double> cases[] = {
      {R"("2025-01-01T14:30:00.5Z")", 1735741800500.0},
      {R"("2025-01-01 14:30:00")", 2025000.0},  // no date-time shape: its leading number, seconds
      {R"("1735689600")", 1735689600000.0},
      {"1735689600000", 1735689600000.0},
      {R"({"value": 1735689600})", 1735689600000.0},
      {R"("abc")", 0},
      {"true", 0},
      {"[1735689600]", 0},
      {"null", 0},
  };
  for (const auto& [text, ms] : cases) {
    EXPECT_DOUBLE_EQ(TimestampToEpochMs(testing::Json(text)), ms) << text;
  }
  EXPECT_EQ(TimestampToEpochMs(json::Node()), 0);
}

}  // namespace
}  // namespace payload
