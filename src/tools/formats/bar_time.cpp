#include "formats/bar_time.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr double kLatestSeconds = 253402300799;  // 9999-12-31 23:59:59 UTC
constexpr int kMaxOffsetMinutes = 18 * 60;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads exactly `count` digits at `*at` and moves past them.
bool Digits(std::string_view s, size_t* at, size_t count, int* out) {
  if (*at + count > s.size()) return false;
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = s[*at + i];
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  *at += count;
  *out = value;
  return true;
}

bool Take(std::string_view s, size_t* at, char c) {
  if (*at >= s.size() || s[*at] != c) return false;
  ++*at;
  return true;
}

bool Within(double seconds) { return std::isfinite(seconds) && seconds >= 0 && seconds <= kLatestSeconds; }

// Digits with at most one point and nothing else: seconds since 1970.
bool ReadEpochSeconds(std::string_view s, double* out) {
  size_t digits = 0;
  size_t points = 0;
  for (const char c : s) {
    if (IsDigit(c)) {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  double value = 0;
  if (digits == 0 || points > 1 || text::ParseDouble(s, &value) != s.size() || !Within(value)) return false;
  *out = value;
  return true;
}

// "Z", "+hh", "+hh:mm" or "+hhmm" (or '-') to the end of `s`, in seconds east of UTC.
bool ReadOffset(std::string_view s, size_t at, double* offset) {
  if (at < s.size() && s[at] == 'Z' && at + 1 == s.size()) {
    *offset = 0;
    return true;
  }
  if (at >= s.size() || (s[at] != '+' && s[at] != '-')) return false;
  const int sign = s[at] == '-' ? -1 : 1;
  ++at;
  int hours = 0;
  int minutes = 0;
  if (!Digits(s, &at, 2, &hours)) return false;
  if (at < s.size()) {
    Take(s, &at, ':');
    if (!Digits(s, &at, 2, &minutes) || at != s.size() || minutes > 59) return false;
  }
  if (hours * 60 + minutes > kMaxOffsetMinutes) return false;
  *offset = sign * (hours * 3600.0 + minutes * 60.0);
  return true;
}

bool RealDate(int year, int month, int day) {
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  const platform::CivilDate back = platform::CivilFromDays(platform::DaysFromCivil(year, month, day));
  return back.year == year && back.month == month && back.day == day;
}

}  // namespace

bool ParseBarTime(std::string_view text, platform::Services& zone, double* out) {
  if (ReadEpochSeconds(text, out)) return true;
  size_t at = 0;
  int year = 0, month = 0, day = 0;
  if (!Digits(text, &at, 4, &year) || !Take(text, &at, '-') || !Digits(text, &at, 2, &month) ||
      !Take(text, &at, '-') || !Digits(text, &at, 2, &day) || !RealDate(year, month, day)) {
    return false;
  }
  int hour = 0, minute = 0, second = 0;
  double fraction = 0;
  if (at < text.size()) {
    if (!Take(text, &at, 'T') && !Take(text, &at, ' ')) return false;
    if (!Digits(text, &at, 2, &hour) || !Take(text, &at, ':') || !Digits(text, &at, 2, &minute)) return false;
    if (Take(text, &at, ':')) {
      if (!Digits(text, &at, 2, &second)) return false;
      if (at < text.size() && text[at] == '.') {
        const size_t start = at;
        for (++at; at < text.size() && IsDigit(text[at]); ++at) {
        }
        if (at == start + 1) return false;
        text::ParseDouble(text.substr(start, at - start), &fraction);
      }
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
  }
  const double secondsOfDay = hour * 3600.0 + minute * 60.0 + second + fraction;
  double utc = 0;
  if (at == text.size()) {
    utc = calendar::NewYorkWallClockToUtc(zone, year, month, day, secondsOfDay);
  } else {
    double offset = 0;
    if (!ReadOffset(text, at, &offset)) return false;
    utc = static_cast<double>(platform::DaysFromCivil(year, month, day)) * 86400.0 + secondsOfDay - offset;
  }
  if (!Within(utc)) return false;
  *out = utc;
  return true;
}

}  // namespace formats
