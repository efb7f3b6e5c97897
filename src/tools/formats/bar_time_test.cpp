#include "formats/bar_time.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_services.h"

namespace formats {
namespace {

TEST(BarTime, ReadsOffsetsNewYorkWallClockAndEpochSeconds) {
  struct Case {
    const char* text;
    double utc;
  };
  const Case cases[] = {
      {"2025-01-02T14:30:00Z", 1735828200},
      {"2025-01-02T09:30:00-05:00", 1735828200},
      {"2025-01-02T09:30-0500", 1735828200},
      {"2025-01-02T14:30:00+01", 1735824600},
      {"2025-01-02T14:30:00.250Z", 1735828200.25},
      {"2025-01-02 09:30:00", 1735828200},     // New York, winter
      {"2025-07-01T09:30", 1751376600},        // New York, summer
      {"2025-03-09T02:30", 1741505400},        // skipped hour: the offset before the change
      {"2025-01-02", 1735794000},              // New York midnight
      {"1735828200", 1735828200},
      {"1735828200.5", 1735828200.5},
  };
  for (const Case& c : cases) {
    double utc = -1;
    ASSERT_TRUE(ParseBarTime(c.text, platform::DefaultServices(), &utc)) << c.text;
    EXPECT_DOUBLE_EQ(utc, c.utc) << c.text;
  }
}

TEST(BarTime, RefusesOtherShapesAndImpossibleTimes) {
  const char* const cases[] = {
      "",         "2025-02-30T10:00Z",  "2025-01-02T24:00Z",        "2025-01-02T10:60Z",
      "2025-01-02T10:00:60Z",           "2025-01-02T10:00+19:00",   "2025-01-02T10:00+05:60",
      "-5",       "1e9",                "0x10",                     "1.2.3",
      "2025-1-02", "2025-01-02T10",     "2025-01-02T10:00Zjunk",    "2025-01-02T10:00:00.Z",
      "1969-12-31T23:59:59Z",           "2025-01-02X10:00",         "99999999999999",
  };
  for (const char* text : cases) {
    double utc = -1;
    EXPECT_FALSE(ParseBarTime(text, platform::DefaultServices(), &utc)) << text;
    EXPECT_EQ(utc, -1) << text;
  }
}

}  // namespace
}  // namespace formats
