#include "platform/posix/posix_services.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/new_york_date_test_support.h"

namespace platform {
namespace {

TEST(PosixServices, NewYorkDateRollsOverAtNewYorkMidnight) {
  PosixServices services;
  for (const testing::NewYorkDateCase& c : testing::kNewYorkDateCases) {
    EXPECT_EQ(testing::DateText(services.NewYorkDate(c.seconds)), c.newYorkDate) << c.utc;
  }
}

TEST(PosixServices, NewYorkOffsetFollowsDaylightSaving) {
  struct Case {
    const char* utc;
    double seconds;
    double offset;
  };
  const Case cases[] = {
      {"2025-01-02T21:00Z", 1735851600, -18000},
      {"2025-03-09T06:59:59Z", 1741503599, -18000},
      {"2025-03-09T07:00Z", 1741503600, -14400},
      {"2025-11-02T05:59:59Z", 1762063199, -14400},
      {"2025-11-02T06:00Z", 1762063200, -18000},
      {"not a time", std::numeric_limits<double>::quiet_NaN(), 0},
      {"far beyond any calendar", 1e300, 0},
  };
  PosixServices services;
  for (const Case& c : cases) {
    EXPECT_EQ(services.NewYorkUtcOffsetSeconds(c.seconds), c.offset) << c.utc;
  }
}

}  // namespace
}  // namespace platform
