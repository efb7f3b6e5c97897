#include "formats/typed_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/posix/posix_services.h"

namespace formats {
namespace {

constexpr double kRefused = -1;

// The whole grammar in one table. Every accepted time also survives a round trip through the
// text the engine writes.
TEST(TypedTime, OneGrammarForBarTimesAsOfAndChainTimestamps) {
  struct Case {
    const char* text;
    double utc;
  };
  const Case cases[] = {
      {"2025-01-02T14:30:00Z", 1735828200},
      {"2025-01-02t14:30:00z", 1735828200},
      {"2025-01-02T14:30:00+05", 1735810200},
      {"2025-01-02T14:30:00+05:30", 1735808400},
      {"2025-01-02T09:30:00-0400", 1735824600},
      {"2025-01-02T09:30-05:00", 1735828200},            // no seconds
      {"2025-01-02T14:30:00+18:00", 1735763400},         // the widest offset
      {"2025-01-02T14:30:00.250Z", 1735828200.25},
      {"2025-01-02 09:30:00", 1735828200},               // New York, winter, blank separator
      {"2025-01-02T09:30", 1735828200},
      {"2025-07-01 09:30", 1751376600},                  // New York, summer
      {"2025-03-09T02:30", 1741505400},                  // skipped hour: the offset before the change
      {"2025-01-02", 1735794000},                        // New York midnight
      {"2016-12-31T23:59:60Z", 1483228800},              // a leap second: the next minute's start
      {"123456789", 123456789},                          // nine digits: seconds since 1970
      {"1735828200.5", 1735828200.5},
      {"20250102", kRefused},                            // eight digits are a date, not 1970
      {"12345678.5", kRefused},
      {"2025-01-02T14:30:00+19:00", kRefused},
      {"2025-01-02T14:30:00+19", kRefused},
      {"2025-01-02T24:00Z", kRefused},
      {"2025-01-02T10:60Z", kRefused},
      {"2025-01-02T10:00:61Z", kRefused},
      {"2025-02-30T10:00Z", kRefused},
      {"2025-02-30", kRefused},
      {"2025-01-02T10:00+05:60", kRefused},
      {"2025-01-02T10:00+5", kRefused},
      {"2025-01-02T10:00+05:", kRefused},
      {"2025-01-02  10:00", kRefused},
      {"2025-01-02X10:00", kRefused},
      {"2025-01-02T10", kRefused},
      {"2025-01-02T", kRefused},
      {"2025-01-02Z", kRefused},
      {"2025-01-02T10:00Zjunk", kRefused},
      {"2025-01-02T10:00:00.Z", kRefused},
      {"2025-01-02T10:00.5Z", kRefused},                 // a fraction belongs to the seconds
      {"2025-01-02 10:42:10 EST", kRefused},
      {" 2025-01-02", kRefused},
      {"2025-1-02", kRefused},
      {"1969-12-31T23:59:59Z", kRefused},
      {"99999999999999", kRefused},                      // after 9999
      {"1735828200.", kRefused},
      {"", kRefused}, {"-5", kRefused}, {"1e9", kRefused}, {"0x10", kRefused}, {"1.2.3", kRefused},
      {"yesterday", kRefused},
  };
  for (const Case& c : cases) {
    double utc = kRefused;
    EXPECT_EQ(ParseTypedTime(c.text, platform::DefaultServices(), &utc), c.utc != kRefused) << c.text;
    EXPECT_DOUBLE_EQ(utc, c.utc) << c.text;
    if (c.utc == kRefused) continue;
    const double whole = std::floor(c.utc);
    double back = kRefused;
    EXPECT_TRUE(ParseTypedTime(UtcTimestampText(whole), platform::DefaultServices(), &back)) << c.text;
    EXPECT_EQ(back, whole) << c.text << " as " << UtcTimestampText(whole);
  }
}

TEST(TypedTime, WritesWholeSecondsAsUtcText) {
  EXPECT_EQ(UtcTimestampText(1735832530.9), "2025-01-02T15:42:10Z");
  EXPECT_EQ(UtcTimestampText(0), "1970-01-01T00:00:00Z");
}

}  // namespace
}  // namespace formats
