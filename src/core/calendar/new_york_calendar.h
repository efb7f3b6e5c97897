// New York session dates and the civil-date arithmetic behind expiries. A date is either its
// "YYYY-MM-DD" text or the seconds at its 00:00 UTC, so no zone or DST setting can move it.
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace calendar {

inline constexpr double kSecondsPerDay = 86400;

// Today's New York date as "YYYY-MM-DD" at `nowSeconds` (the host clock, seconds since 1970
// UTC); the UTC date when the platform has no New York zone.
std::string NewYorkToday(platform::Services& services, double nowSeconds);

// The UTC instant (seconds since 1970) of the New York wall-clock time `secondsOfDay` after
// midnight of year/month/day (out-of-range days and seconds carry over). A time that occurs
// twice when the clocks fall back is its first occurrence; a time skipped when they spring
// forward is read with the offset in force before the change (02:30 becomes 03:30 EDT). Without
// a New York zone the wall clock is read as UTC.
double NewYorkWallClockToUtc(platform::Services& services, int year, int month, int day, double secondsOfDay);

// Seconds at 00:00 UTC of a strict ten-character "YYYY-MM-DD" date from 1970 on; -1 for any
// other shape, an earlier year or a date that does not exist (2025-02-30).
double IsoDateToEpochSeconds(std::string_view text);

// True for a strict ten-character "YYYY-MM-DD" text naming a real date of year 1 or later.
bool IsValidIsoDate(std::string_view text);

// Epoch milliseconds of a timestamp text "Y-M-DTh:m:s", read as UTC whatever zone follows, plus
// any ".fff" tail; false when the text does not have that shape (*ms untouched then).
bool TimestampTextToEpochMs(std::string_view text, double* ms);

// Epoch milliseconds of a numeric timestamp: below 1e11 it counts seconds, else milliseconds;
// 0 for a non-finite number.
double TimestampNumberToEpochMs(double number);

// Days from the weekday of `daySeconds` to the next Friday (0 on a Friday, 6 on a Saturday);
// 0 for a non-finite or absurdly large input.
int DaysUntilFriday(double daySeconds);

// True when `daySeconds` falls on the third Friday of its month (a Friday on day 15 to 21).
bool IsThirdFriday(double daySeconds);

// True when `expirySeconds` lies in the "Week through Friday" window of session day
// `daySeconds`: from that day through its Friday, both ends included.
bool InWeekThroughFriday(double expirySeconds, double daySeconds);

}  // namespace calendar
