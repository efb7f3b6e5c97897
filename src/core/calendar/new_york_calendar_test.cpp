#include "calendar/new_york_calendar.h"

#include <gtest/gtest.h>

#include "host/fake_study_host.h"
#include "platform/own_services.h"

#include <limits>
#include <string>

namespace calendar {
namespace {

// The fake services give the UTC date of the instant asked about.
TEST(NewYorkCalendar, TodayFormatsTheDateOfTheCallersClock) {
  host::FakeServices services;
  EXPECT_EQ(NewYorkToday(services, 1741330000.5), "2025-03-07");
  EXPECT_EQ(NewYorkToday(services, -31020321600), "0987-01-02");  // noon of that day
}

TEST(NewYorkCalendar, DateValidatorsAgreeExceptBefore1970) {
  const struct {
    const char* text;
    bool valid;
    double seconds;
  } cases[] = {
      {"1970-01-01", true, 0},
      {"2024-02-29", true, 1709164800},
      {"2000-02-29", true, 951782400},
      {"2025-04-30", true, 1745971200},
      {"9999-12-31", true, 253402214400},
      {"1969-12-31", true, -1},
      {"2023-02-29", false, -1},
      {"1900-02-29", false, -1},
      {"2025-04-31", false, -1},
      {"2025-13-01", false, -1},
      {"2025-00-10", false, -1},
      {"2025-01-00", false, -1},
      {"2025-01-32", false, -1},
      {"0000-01-01", false, -1},
      {"2025-1-07", false, -1},
      {"2025/01/07", false, -1},
      {" 2025-01-07", false, -1},
      {"2025-01-07 ", false, -1},
      {"+025-01-07", false, -1},
      {"2025-01-0a", false, -1},
      {"2025-01-07T00:00:00", false, -1},
      {"", false, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidIsoDate(c.text), c.valid) << c.text;
    EXPECT_EQ(IsoDateToEpochSeconds(c.text), c.seconds) << c.text;
  }
  const std::string withNul("2025-01-0\0", 10);
  EXPECT_FALSE(IsValidIsoDate(withNul));
  EXPECT_EQ(IsoDateToEpochSeconds(withNul), -1);
}

TEST(NewYorkCalendar, TimestampTextsReadAsUtcFields) {
  const double kMs1430 = 1735741800000.0;  // 2025-01-01T14:30:00Z
  const double kNoShape = -7;
  const struct {
    std::string text;
    double ms;
  } cases[] = {
      {"2025-01-01T14:30:00Z", kMs1430},
      {"2025-01-01T14:30:00-05:00", kMs1430},  // the zone is ignored
      {"2025-1-1T14:30:0", kMs1430},
      {" +2025-01-01T14:30:00Z", kMs1430},
      {"2025-01-01T14:30:00.25Z", kMs1430 + 250},
      {"2025-01-01T14:30:00.123456", kMs1430 + 123.456},
      {"2025-01-01T14:30:00.Z", kMs1430},
      {"2025-01-01T14:30:00Z build 1.5", kMs1430 + 500},
      {std::string("2025-01-01T14:30:00Z\0.5", 24), kMs1430},
      {"2025-01-01T14:30:00.5e999", 0},
      // Out-of-range fields carry over like a UTC calendar conversion.
      {"2025-13-01T00:00:00Z", 1767225600000.0},
      {"2024-12-31T23:59:60Z", 1735689600000.0},
      {"2025-03-00T00:00:00Z", 1740700800000.0},
      {"1969-12-31T23:59:59Z", -1000.0},
      // Not six fields: no timestamp text (callers fall back to the number rule).
      {"2025-01-01 14:30:00", kNoShape},
      {"2025-01-01T14:30", kNoShape},
      {"2147483648-01-01T00:00:00Z", kNoShape},    // one beyond int fails the scan
      {"999999999999-01-01T00:00:00Z", kNoShape},  // far beyond: the digit loop stops counting
      {"", kNoShape},
  };
  for (const auto& c : cases) {
    double ms = kNoShape;
    EXPECT_EQ(TimestampTextToEpochMs(c.text, &ms), c.ms != kNoShape) << c.text;
    EXPECT_DOUBLE_EQ(ms, c.ms) << c.text;
  }
}

TEST(NewYorkCalendar, TimestampNumbersAreSecondsBelowOneHundredBillion) {
  const std::pair<double, double> cases[] = {{1735689600000.0, 1735689600000.0},
                                             {1735689600.5, 1735689600500.0},
                                             {99999999999.0, 99999999999000.0},
                                             {1e11, 1e11},
                                             {-5, -5000},
                                             {0, 0}};
  for (const auto& [number, ms] : cases) EXPECT_EQ(TimestampNumberToEpochMs(number), ms) << number;
  EXPECT_EQ(TimestampNumberToEpochMs(std::numeric_limits<double>::infinity()), 0);
}

TEST(NewYorkCalendar, WeekdayRules) {
  // 2026-05-15 is the third Friday of a month that starts on a Friday.
  const struct {
    const char* date;
    int daysUntilFriday;
    bool thirdFriday;
  } cases[] = {
      {"2025-01-17", 0, true},  {"2025-01-18", 6, false}, {"2025-01-16", 1, false},
      {"2025-01-10", 0, false}, {"2025-01-24", 0, false}, {"2026-05-15", 0, true},
      {"2026-05-08", 0, false}, {"1970-01-01", 1, false}, {"1970-01-16", 0, true},
  };
  for (const auto& c : cases) {
    const double day = IsoDateToEpochSeconds(c.date);
    ASSERT_GE(day, 0) << c.date;
    EXPECT_EQ(DaysUntilFriday(day), c.daysUntilFriday) << c.date;
    EXPECT_EQ(IsThirdFriday(day), c.thirdFriday) << c.date;
    // Any time within the day belongs to the same day.
    EXPECT_EQ(DaysUntilFriday(day + 86399.5), c.daysUntilFriday) << c.date << " late";
    EXPECT_EQ(IsThirdFriday(day + 86399.5), c.thirdFriday) << c.date << " late";
  }
  // Before 1970 the day still rounds down: 1969-12-31 was a Wednesday.
  EXPECT_EQ(DaysUntilFriday(-1), 2);
  EXPECT_EQ(DaysUntilFriday(-86400), 2);
  EXPECT_EQ(DaysUntilFriday(-86401), 3);

  const double kNan = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  for (double bad : {kNan, kInf, -kInf, 1e300}) {
    EXPECT_EQ(DaysUntilFriday(bad), 0) << bad;
    EXPECT_FALSE(IsThirdFriday(bad)) << bad;
  }
}

TEST(NewYorkCalendar, WeekThroughFridayWindowIsClosed) {
  const struct {
    const char* expiry;
    const char* day;
    bool inside;
  } cases[] = {
      {"2025-01-17", "2025-01-17", true},  {"2025-01-16", "2025-01-17", false},
      {"2025-01-18", "2025-01-18", true},  {"2025-01-24", "2025-01-18", true},
      {"2025-01-25", "2025-01-18", false}, {"2025-03-03", "2025-02-28", false},
      {"2025-03-07", "2025-03-01", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InWeekThroughFriday(IsoDateToEpochSeconds(c.expiry), IsoDateToEpochSeconds(c.day)), c.inside)
        << c.expiry << " in week of " << c.day;
  }
}

// The system tz database decides; 2025 changes at 2025-03-09 02:00 EST and 2025-11-02 02:00 EDT.
TEST(NewYorkCalendar, WallClockToUtcAcrossBothClockChanges) {
  const struct {
    int year, month, day;
    double secondsOfDay, utc;
    const char* why;
  } cases[] = {
      {2025, 1, 2, 16 * 3600, 1735851600, "winter close 16:00 EST = 21:00Z"},
      {2025, 3, 9, 1 * 3600 + 3599, 1741503599, "01:59:59 EST, just before the jump"},
      {2025, 3, 9, 2 * 3600 + 1800, 1741505400, "02:30 does not exist: read as EST"},
      {2025, 3, 9, 3 * 3600, 1741503600, "03:00 EDT, first valid time after the jump"},
      {2025, 11, 2, 1 * 3600 + 1800, 1762061400, "01:30 happens twice: the first (EDT)"},
      {2025, 11, 2, 2 * 3600, 1762066800, "02:00 EST"},
      {2025, 1, 2, 24 * 3600 + 60, 1735880460, "a second count past midnight carries over"},
  };
  platform::Services& services = platform::OwnServices();
  for (const auto& c : cases) {
    EXPECT_EQ(NewYorkWallClockToUtc(services, c.year, c.month, c.day, c.secondsOfDay), c.utc) << c.why;
  }
  host::FakeServices noZone;  // services without a zone: the wall clock is UTC
  EXPECT_EQ(NewYorkWallClockToUtc(noZone, 2025, 1, 2, 16 * 3600), 1735776000 + 16 * 3600);
}

}  // namespace
}  // namespace calendar
