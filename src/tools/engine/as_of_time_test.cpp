#include "engine/as_of_time.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_services.h"

namespace engine {
namespace {

// Instants, New York wall clock and epoch seconds are read; every other shape is refused and
// leaves the output alone.
TEST(AsOfTime, ReadsInstantsNewYorkWallClockAndEpochSecondsOnly) {
  struct Case {
    const char* text;
    double utc;  // -1: refused
  };
  const Case cases[] = {
      {"2025-01-02T15:42:10Z", 1735832530},
      {"2025-01-02T10:42:10-05:00", 1735832530},
      {"2025-01-02T16:42:10+0100", 1735832530},
      {"2025-01-02 10:42:10", 1735832530},        // New York, EST
      {"2025-01-02T10:42:10", 1735832530},        // no zone: New York too
      {"2025-07-01 10:42", 1751380920},           // EDT, no seconds
      {"2025-01-02T15:42:10.5Z", 1735832530.5},
      {"1735832530", 1735832530},
      {"", -1}, {"2025-01-02", -1}, {"2025-01-02T25:00:00Z", -1}, {"2025-02-30 10:00:00", -1},
      {"2025-01-02T10:42:10+5", -1}, {"2025-01-02T10:42:10Q", -1}, {"-5", -1}, {"1e9", -1},
      {"yesterday", -1}, {"2025-01-02 10:42:10 EST", -1},
  };
  platform::PosixServices services;
  for (const Case& c : cases) {
    double utc = -1;
    EXPECT_EQ(ParseAsOfTime(c.text, services, &utc), c.utc != -1) << c.text;
    EXPECT_DOUBLE_EQ(utc, c.utc) << c.text;
  }
}

TEST(AsOfTime, WritesWholeSecondsAsUtcText) {
  EXPECT_EQ(UtcTimestampText(1735832530.9), "2025-01-02T15:42:10Z");
  EXPECT_EQ(UtcTimestampText(0), "1970-01-01T00:00:00Z");
}

}  // namespace
}  // namespace engine
