#include "calendar/new_york_calendar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/civil_date.h"
#include "text/format.h"

namespace calendar {
namespace {

constexpr int64_t kSecondsPerDayInt = 86400;
// Beyond this many seconds a day count no longer fits the calendar arithmetic comfortably.
constexpr double kMaxAbsSeconds = 1e15;
// 1970-01-01 was a Thursday (0 = Sunday).
constexpr int kEpochWeekday = 4;
constexpr int kFriday = 5;
// Numeric timestamps below this are seconds, above it milliseconds.
constexpr double kMillisecondThreshold = 1e11;
// Length of "YYYY-MM-DDTHH:MM:SS"; a fractional tail starts at or after it.
constexpr size_t kTimestampFieldsLength = 19;

using platform::CivilFromDays;
using platform::DaysFromCivil;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

bool IsLeapYear(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int64_t year, int month) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (month == 2 && IsLeapYear(year)) ? 29 : kLengths[month - 1];
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// White space as the C library's scanf skips it in the "C" locale.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitsValue(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// Ten characters, '-' at 4 and 7, digits elsewhere; fills year, month and day.
bool ReadDateShape(std::string_view text, int* year, int* month, int* day) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != 4 && i != 7 && !IsDigit(text[i])) return false;
  }
  *year = DigitsValue(text.substr(0, 4));
  *month = DigitsValue(text.substr(5, 2));
  *day = DigitsValue(text.substr(8, 2));
  return true;
}

bool IsRealDate(int year, int month, int day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

// One "%d" conversion: optional white space and sign, then at least one digit. A value
// outside the int range fails the scan rather than wrapping.
bool ScanInt(std::string_view s, size_t* pos, int* out) {
  size_t i = *pos;
  while (i < s.size() && IsCSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const size_t digitsStart = i;
  int64_t magnitude = 0;
  bool overflow = false;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    magnitude = magnitude * 10 + (s[i] - '0');
    if (magnitude > int64_t{INT_MAX} + 1) {
      overflow = true;
      magnitude = int64_t{INT_MAX} + 1;
    }
  }
  if (i == digitsStart || overflow) return false;
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return false;
  *out = static_cast<int>(value);
  *pos = i;
  return true;
}

bool ScanLiteral(std::string_view s, size_t* pos, char c) {
  if (*pos >= s.size() || s[*pos] != c) return false;
  ++*pos;
  return true;
}

// The six fields of "%d-%d-%dT%d:%d:%d", scanned as the C library would.
bool ScanTimestampFields(std::string_view s, int fields[6]) {
  static constexpr char kSeparators[] = {'-', '-', 'T', ':', ':'};
  size_t pos = 0;
  for (int i = 0; i < 6; ++i) {
    if (i > 0 && !ScanLiteral(s, &pos, kSeparators[i - 1])) return false;
    if (!ScanInt(s, &pos, &fields[i])) return false;
  }
  return true;
}

// UTC seconds of calendar fields, out-of-range fields carried over as a UTC calendar
// conversion normalizes them (month 13 is January of the next year, hour 24 the next day).
int64_t NormalizedUtcSeconds(const int fields[6]) {
  const int64_t monthIndex = int64_t{fields[1]} - 1;
  const int64_t year = fields[0] + FloorDiv(monthIndex, 12);
  const int month = static_cast<int>(FloorMod(monthIndex, 12)) + 1;
  const int64_t days = DaysFromCivil(year, month, 1) + (int64_t{fields[2]} - 1);
  return days * kSecondsPerDayInt + int64_t{fields[3]} * 3600 + int64_t{fields[4]} * 60 + fields[5];
}

// The scanned fields as UTC plus the ".fff" tail after them.
double TextTimestampMs(std::string_view text, const int fields[6]) {
  double ms = static_cast<double>(NormalizedUtcSeconds(fields)) * 1000.0;
  if (text.size() > kTimestampFieldsLength) {
    const size_t dot = text.find('.', kTimestampFieldsLength);
    if (dot != std::string_view::npos) {
      double fraction = 0;
      text::ParseDouble(text.substr(dot), &fraction);
      ms += 1000.0 * fraction;
    }
  }
  return ms;
}

// Whole days since 1970 of `daySeconds`; false when it cannot name a day.
bool DayNumber(double daySeconds, int64_t* days) {
  if (!std::isfinite(daySeconds) || std::fabs(daySeconds) > kMaxAbsSeconds) return false;
  *days = static_cast<int64_t>(std::floor(daySeconds / kSecondsPerDay));
  return true;
}

int Weekday(int64_t days) { return static_cast<int>(FloorMod(days + kEpochWeekday, 7)); }

}  // namespace

std::string NewYorkToday(platform::Services& services, double nowSeconds) {
  const platform::CivilDate date = services.NewYorkDate(nowSeconds);
  return text::Format("%04d-%02d-%02d", date.year, date.month, date.day);
}

double NewYorkWallClockToUtc(platform::Services& services, int year, int month, int day,
                             double secondsOfDay) {
  const double wall = static_cast<double>(DaysFromCivil(year, month, day) * kSecondsPerDayInt) + secondsOfDay;
  // The offsets a day either side of the wall time bracket any change of the clocks, which
  // New York makes at most once a day.
  const double before = services.NewYorkUtcOffsetSeconds(wall - kSecondsPerDay);
  const double after = services.NewYorkUtcOffsetSeconds(wall + kSecondsPerDay);
  const bool beforeFits = services.NewYorkUtcOffsetSeconds(wall - before) == before;
  const bool afterFits = services.NewYorkUtcOffsetSeconds(wall - after) == after;
  if (beforeFits && afterFits) return wall - std::max(before, after);  // the first occurrence
  if (afterFits) return wall - after;
  return wall - before;  // also the skipped hour: the clock as it was before the change
}

double IsoDateToEpochSeconds(std::string_view text) {
  int year = 0, month = 0, day = 0;
  if (!ReadDateShape(text, &year, &month, &day)) return -1;
  if (year < 1970 || !IsRealDate(year, month, day)) return -1;
  return static_cast<double>(DaysFromCivil(year, month, day) * kSecondsPerDayInt);
}

bool IsValidIsoDate(std::string_view text) {
  int year = 0, month = 0, day = 0;
  return ReadDateShape(text, &year, &month, &day) && year >= 1 && IsRealDate(year, month, day);
}

bool TimestampTextToEpochMs(std::string_view text, double* ms) {
  // The text is read as a C string would be: nothing after an embedded NUL counts.
  text = text.substr(0, text.find('\0'));
  int fields[6] = {};
  if (!ScanTimestampFields(text, fields)) return false;
  const double value = TextTimestampMs(text, fields);
  // A tail such as ".5e999" must not turn into an infinite time.
  *ms = std::isfinite(value) ? value : 0;
  return true;
}

double TimestampNumberToEpochMs(double number) {
  if (!std::isfinite(number)) return 0;
  const double ms = number < kMillisecondThreshold ? number * 1000.0 : number;
  return std::isfinite(ms) ? ms : 0;
}

int DaysUntilFriday(double daySeconds) {
  int64_t days = 0;
  if (!DayNumber(daySeconds, &days)) return 0;
  return (12 - Weekday(days)) % 7;
}

bool IsThirdFriday(double daySeconds) {
  int64_t days = 0;
  if (!DayNumber(daySeconds, &days) || Weekday(days) != kFriday) return false;
  const int dayOfMonth = CivilFromDays(days).day;
  return dayOfMonth >= 15 && dayOfMonth <= 21;
}

bool InWeekThroughFriday(double expirySeconds, double daySeconds) {
  const double windowEnd = daySeconds + DaysUntilFriday(daySeconds) * kSecondsPerDay;
  return expirySeconds >= daySeconds && expirySeconds <= windowEnd;
}

}  // namespace calendar
