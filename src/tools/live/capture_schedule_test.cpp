#include "live/capture_schedule.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "formats/typed_time.h"
#include "platform/posix/posix_services.h"
#include "text/format.h"

namespace live {
namespace {

// A time as people type it: New York wall clock without an offset, UTC with "Z".
double At(const std::string& text) {
  double seconds = 0;
  EXPECT_TRUE(formats::ParseTypedTime(text, platform::DefaultServices(), &seconds)) << text;
  return seconds;
}

// 2025-01-02 is a Thursday; 2025-01-04 a Saturday; 2025-03-09 the Sunday the clocks spring forward.
TEST(CaptureSchedule, MarketHoursAreWeekdaysFrom0930To1615NewYork) {
  const struct {
    const char* time;
    bool open;
  } cases[] = {
      {"2025-01-02 09:29:59", false}, {"2025-01-02 09:30", true},      {"2025-01-02 12:00", true},
      {"2025-01-02 16:14:59", true},  {"2025-01-02 16:15", false},     {"2025-01-02 23:00", false},
      {"2025-01-04 12:00", false},    {"2025-01-05 12:00", false},     {"2025-01-06 09:30", true},
      {"2025-01-02T14:30:00Z", true},                                   // 09:30 EST
      {"2025-07-02T13:30:00Z", true},                                   // 09:30 EDT
      {"2025-07-02T14:30:00Z", true}, {"2025-07-02T20:15:00Z", false},  // 16:15 EDT
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InMarketHours(platform::DefaultServices(), At(c.time)), c.open) << c.time;
  }
}

TEST(CaptureSchedule, NextMarketOpenIsTheNextWeekday0930) {
  const struct {
    const char* from;
    const char* open;
  } cases[] = {
      {"2025-01-02 09:00", "2025-01-02 09:30"},
      {"2025-01-02 09:30", "2025-01-03 09:30"},  // strictly after
      {"2025-01-03 17:00", "2025-01-06 09:30"},  // Friday evening: Monday
      {"2025-01-04 09:00", "2025-01-06 09:30"},
      {"2025-03-09 12:00", "2025-03-10T13:30:00Z"},  // the Monday after the change, on EDT
      {"2025-10-31 18:00", "2025-11-03T14:30:00Z"},  // the weekend the clocks fall back
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextMarketOpen(platform::DefaultServices(), At(c.from)), At(c.open)) << c.from;
  }
}

TEST(CaptureSchedule, NextAttemptFollowsIntervalsBackoffAndTheOpeningBell) {
  const Cadence minute{60, 900};
  const Cadence daily{60, 86400};
  const struct {
    const char* name;
    Cadence cadence;
    const char* from;
    int failures;
    double jitter;
    std::string next;  // a time, or "+SECONDS" after `from`
  } cases[] = {
      {"market interval", minute, "2025-01-02 10:00", 0, 0, "+60"},
      {"jitter adds its share", minute, "2025-01-02 10:00", 0, 0.5, "+61.5"},
      {"jitter stays under 5 %", minute, "2025-01-02 10:00", 0, 0.999999, "+62.999997"},
      {"last minute of the session", minute, "2025-01-02 16:14:30", 0, 0, "+60"},
      {"after the close", minute, "2025-01-02 16:15", 0, 0, "+900"},
      {"weekend", minute, "2025-01-04 12:00", 0, 0, "+900"},
      {"off hours stop at 09:30", minute, "2025-01-02 09:20", 0, 0, "2025-01-02 09:30"},
      {"jitter never passes 09:30", minute, "2025-01-02 09:29:50", 0, 0.999999, "2025-01-02 09:30"},
      {"a daily interval still captures at 09:30", daily, "2025-01-02 17:00", 0, 0.7, "2025-01-03 09:30"},
      {"a daily interval on Saturday", daily, "2025-01-04 12:00", 0, 0, "+86400"},
      {"a daily interval on Sunday", daily, "2025-01-05 12:00", 0, 0, "2025-01-06 09:30"},
      {"into summer time", daily, "2025-03-09 12:00", 0, 0, "2025-03-10T13:30:00Z"},
      {"first failure", minute, "2025-01-02 10:00", 1, 0, "+5"},
      {"second failure doubles", minute, "2025-01-02 10:00", 2, 0, "+10"},
      {"fourth failure", minute, "2025-01-02 10:00", 4, 0, "+40"},
      {"backoff past the market interval", minute, "2025-01-02 10:00", 6, 0, "+160"},
      {"backoff stops at the off-hours interval", minute, "2025-01-02 10:00", 30, 0, "+900"},
      {"backoff with jitter", minute, "2025-01-02 10:00", 3, 0.5, "+20.5"},
      {"a failure before the bell retries at it", daily, "2025-01-02 09:29:58", 9, 0, "2025-01-02 09:30"},
  };
  for (const auto& c : cases) {
    const double from = At(c.from);
    double after = 0;
    const double expected =
        c.next[0] == '+' && text::ParseDouble(c.next.substr(1), &after) > 0 ? from + after : At(c.next);
    EXPECT_NEAR(NextAttemptAt(platform::DefaultServices(), c.cadence, from, c.failures, c.jitter), expected,
                1e-6)
        << c.name;
  }
}

TEST(CaptureSchedule, FirstAttemptIsDueAtOnceButForJitter) {
  const Cadence cadence{60, 900};
  platform::Services& ny = platform::DefaultServices();
  EXPECT_EQ(FirstAttemptAt(ny, cadence, At("2025-01-04 12:00"), 0), At("2025-01-04 12:00"));
  EXPECT_DOUBLE_EQ(FirstAttemptAt(ny, cadence, At("2025-01-04 12:00"), 0.5), At("2025-01-04 12:00") + 1.5)
      << "a share of the market interval even off hours";
  EXPECT_EQ(FirstAttemptAt(ny, cadence, At("2025-01-02 09:29:59"), 0.9), At("2025-01-02 09:30"));
}

TEST(CaptureSchedule, JitterDrawsAreFixedPerSymbolAndInRange) {
  JitterSource a("QQQ"), again("QQQ"), other("SPX");
  std::set<double> seen;
  bool differs = false;
  for (int i = 0; i < 10000; ++i) {
    const double x = a.Next();
    ASSERT_GE(x, 0.0) << "draw " << i;
    ASSERT_LT(x, 1.0) << "draw " << i;
    EXPECT_EQ(again.Next(), x) << "draw " << i;
    differs = differs || other.Next() != x;
    seen.insert(x);
  }
  EXPECT_TRUE(differs) << "another symbol draws another sequence";
  EXPECT_GT(seen.size(), 9990u) << "draws spread out";
}

}  // namespace
}  // namespace live
