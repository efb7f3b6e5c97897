#include "engine/as_of_time.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"
#include "text/format.h"

namespace engine {
namespace {

bool Digits(std::string_view s, size_t at, size_t count, int* out) {
  if (at + count > s.size()) return false;
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  *out = value;
  return true;
}

// "+HH:MM", "-HH:MM", "+HHMM" or "Z" at the end of the text.
bool ReadZone(std::string_view zone, double* offsetSeconds) {
  if (zone == "Z" || zone == "z") {
    *offsetSeconds = 0;
    return true;
  }
  if (zone.size() < 5 || (zone[0] != '+' && zone[0] != '-')) return false;
  int hours = 0, minutes = 0;
  const size_t minuteAt = zone[3] == ':' ? 4 : 3;
  if (!Digits(zone, 1, 2, &hours) || !Digits(zone, minuteAt, 2, &minutes)) return false;
  if (zone.size() != minuteAt + 2 || hours > 23 || minutes > 59) return false;
  *offsetSeconds = (zone[0] == '-' ? -1.0 : 1.0) * (hours * 3600.0 + minutes * 60.0);
  return true;
}

bool ReadPlainSeconds(std::string_view s, double* out) {
  double value = 0;
  if (s.empty() || text::ParseDouble(s, &value) != s.size() || !std::isfinite(value)) {
    return false;
  }
  for (char c : s) {
    if ((c < '0' || c > '9') && c != '.') return false;
  }
  *out = value;
  return true;
}

}  // namespace

bool ParseAsOfTime(std::string_view s, platform::Services& services, double* utcSeconds) {
  if (ReadPlainSeconds(s, utcSeconds)) return true;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!calendar::IsValidIsoDate(s.substr(0, 10)) || s.size() < 16) return false;
  Digits(s, 0, 4, &year);
  Digits(s, 5, 2, &month);
  Digits(s, 8, 2, &day);
  if ((s[10] != 'T' && s[10] != ' ') || !Digits(s, 11, 2, &hour) || s[13] != ':' ||
      !Digits(s, 14, 2, &minute)) {
    return false;
  }
  size_t at = 16;
  if (at < s.size() && s[at] == ':') {
    if (!Digits(s, at + 1, 2, &second)) return false;
    at += 3;
  }
  double fraction = 0;
  if (at < s.size() && s[at] == '.') {
    const size_t start = at;
    ++at;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
    text::ParseDouble(s.substr(start, at - start), &fraction);
  }
  if (hour > 23 || minute > 59 || second > 60) return false;
  const double secondsOfDay = hour * 3600.0 + minute * 60.0 + second + fraction;
  if (at == s.size()) {
    *utcSeconds = calendar::NewYorkWallClockToUtc(services, year, month, day, secondsOfDay);
    return true;
  }
  double offset = 0;
  if (!ReadZone(s.substr(at), &offset)) return false;
  *utcSeconds = static_cast<double>(platform::DaysFromCivil(year, month, day)) * 86400.0 +
                secondsOfDay - offset;
  return true;
}

std::string UtcTimestampText(double utcSeconds) {
  const double whole = std::floor(utcSeconds);
  const double days = std::floor(whole / 86400.0);
  const platform::CivilDate date = platform::CivilFromDays(static_cast<int64_t>(days));
  const long long ofDay = static_cast<long long>(whole - days * 86400.0);
  return text::Format("%04d-%02d-%02dT%02d:%02d:%02dZ", date.year, date.month, date.day,
                      ofDay / 3600, (ofDay / 60) % 60, ofDay % 60);
}

}  // namespace engine
