#include "platform/civil_date.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CivilDate, UtcDatesAcrossEpochLeapDaysAndCenturies) {
  struct Case {
    double seconds;
    CivilDate date;
  };
  const Case cases[] = {
      {0, {1970, 1, 1}},
      {-1, {1969, 12, 31}},
      {86399.9, {1970, 1, 1}},
      {951782400, {2000, 2, 29}},  // a leap day of a year divisible by 400
      {4107456000, {2100, 2, 28}},
      {4107542400, {2100, 3, 1}},    // 2100 is no leap year: no 29 February
      {1735689599, {2024, 12, 31}},  // the last second of a year
      {1735689600, {2025, 1, 1}},
      {-62135596800, {1, 1, 1}},
      {1e300, {1970, 1, 1}},  // absurd instants give the epoch date, not garbage
  };
  for (const Case& c : cases) {
    const CivilDate d = UtcCivilDate(c.seconds);
    EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, c.date.year * 10000 + c.date.month * 100 + c.date.day)
        << c.seconds;
  }
}

TEST(CivilDate, DaysRoundTripThroughTheCivilDate) {
  for (int64_t days = -800000; days <= 800000; days += 997) {
    const CivilDate d = CivilFromDays(days);
    EXPECT_EQ(DaysFromCivil(d.year, d.month, d.day), days) << days;
  }
  EXPECT_EQ(DaysFromCivil(2025, 13, 1), DaysFromCivil(2026, 1, 1)) << "month 13 carries over";
}

}  // namespace
}  // namespace platform
