#include "platform/windows/new_york_zone.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/new_york_date_test_support.h"

namespace platform {
namespace {

TEST(WindowsNewYorkDate, RollsOverAtNewYorkMidnight) {
  for (const testing::NewYorkDateCase& c : testing::kNewYorkDateCases) {
    EXPECT_EQ(testing::DateText(WindowsNewYorkDate(c.seconds)), c.newYorkDate) << c.utc;
  }
}

TEST(WindowsNewYorkDate, OffsetFollowsDaylightSaving) {
  for (const testing::NewYorkOffsetCase& c : testing::kNewYorkOffsetCases) {
    EXPECT_EQ(WindowsNewYorkUtcOffsetSeconds(c.seconds), c.offset) << c.utc;
  }
}

// Moments Windows' calendar cannot take still get a date, the UTC one.
TEST(WindowsNewYorkDate, MomentsOutsideTheWindowsCalendarGetTheUtcDate) {
  const testing::NewYorkDateCase cases[] = {
      {"1600-03-01T03:00Z", -11670901200, "1600-3-1"},
      {"1601-01-01T03:00Z", -11644462800, "1601-1-1"},
      {"NaN", std::numeric_limits<double>::quiet_NaN(), "1970-1-1"},
      {"+infinity", std::numeric_limits<double>::infinity(), "1970-1-1"},
  };
  for (const testing::NewYorkDateCase& c : cases) {
    EXPECT_EQ(testing::DateText(WindowsNewYorkDate(c.seconds)), c.newYorkDate) << c.utc;
  }
}

}  // namespace
}  // namespace platform
