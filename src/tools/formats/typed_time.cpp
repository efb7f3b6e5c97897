#include "formats/typed_time.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr double kLatestSeconds = 253402300799;  // 9999-12-31 23:59:59 UTC
constexpr int kMaxOffsetMinutes = 18 * 60;
// Fewer digits are a date such as 20250102, never seconds since 1970.
constexpr size_t kMinEpochDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A cursor over the text: each step takes what it expects or leaves the cursor where it was.
struct Cursor {
  std::string_view text;
  size_t at = 0;

  bool AtEnd() const { return at == text.size(); }

  bool Take(char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
  }

  // Exactly `count` digits as a number.
  bool Digits(size_t count, int* out) {
    if (at + count > text.size()) return false;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
      if (!IsDigit(text[i])) return false;
      value = value * 10 + (text[i] - '0');
    }
    at += count;
    *out = value;
    return true;
  }

  // A run of digits; how many there were.
  size_t DigitRun() {
    const size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at - start;
  }
};

bool Within(double seconds) { return std::isfinite(seconds) && seconds >= 0 && seconds <= kLatestSeconds; }

// Nine or more digits with an optional fraction: seconds since 1970.
bool ReadEpochSeconds(std::string_view text, double* out) {
  Cursor c{text};
  if (c.DigitRun() < kMinEpochDigits) return false;
  if (c.Take('.') && c.DigitRun() == 0) return false;
  double value = 0;
  if (!c.AtEnd() || text::ParseDouble(text, &value) != text.size() || !Within(value)) return false;
  *out = value;
  return true;
}

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff" as seconds after midnight.
bool ReadClock(Cursor* c, double* secondsOfDay) {
  int hour = 0, minute = 0, second = 0;
  if (!c->Digits(2, &hour) || !c->Take(':') || !c->Digits(2, &minute)) return false;
  double fraction = 0;
  if (c->Take(':')) {
    if (!c->Digits(2, &second)) return false;
    const size_t point = c->at;
    if (c->Take('.')) {
      if (c->DigitRun() == 0) return false;
      text::ParseDouble(c->text.substr(point, c->at - point), &fraction);
    }
  }
  if (hour > 23 || minute > 59 || second > 60) return false;
  *secondsOfDay = hour * 3600.0 + minute * 60.0 + second + fraction;
  return true;
}

// "Z", "+hh", "+hh:mm" or "+hhmm" (or '-') up to the end of the text, in seconds east of UTC.
bool ReadOffset(Cursor* c, double* offset) {
  if (c->Take('Z') || c->Take('z')) {
    *offset = 0;
    return c->AtEnd();
  }
  const bool west = c->Take('-');
  if (!west && !c->Take('+')) return false;
  int hours = 0, minutes = 0;
  if (!c->Digits(2, &hours)) return false;
  if (!c->AtEnd()) {
    c->Take(':');
    if (!c->Digits(2, &minutes) || !c->AtEnd() || minutes > 59) return false;
  }
  if (hours * 60 + minutes > kMaxOffsetMinutes) return false;
  *offset = (west ? -60.0 : 60.0) * (hours * 60 + minutes);
  return true;
}

}  // namespace

bool ParseTypedTime(std::string_view text, platform::Services& zone, double* utcSeconds) {
  if (ReadEpochSeconds(text, utcSeconds)) return true;
  Cursor c{text};
  int year = 0, month = 0, day = 0;
  if (!calendar::IsValidIsoDate(text.substr(0, 10)) || !c.Digits(4, &year) || !c.Take('-') ||
      !c.Digits(2, &month) || !c.Take('-') || !c.Digits(2, &day)) {
    return false;
  }
  double secondsOfDay = 0;
  if (!c.AtEnd() && ((!c.Take('T') && !c.Take('t') && !c.Take(' ')) || !ReadClock(&c, &secondsOfDay))) {
    return false;
  }
  double utc = 0;
  if (c.AtEnd()) {
    utc = calendar::NewYorkWallClockToUtc(zone, year, month, day, secondsOfDay);
  } else {
    double offset = 0;
    if (!ReadOffset(&c, &offset)) return false;
    utc = static_cast<double>(platform::DaysFromCivil(year, month, day)) * 86400.0 + secondsOfDay - offset;
  }
  if (!Within(utc)) return false;
  *utcSeconds = utc;
  return true;
}

std::string UtcTimestampText(double utcSeconds) {
  const double whole = std::floor(utcSeconds);
  const double days = std::floor(whole / 86400.0);
  const platform::CivilDate date = platform::CivilFromDays(static_cast<int64_t>(days));
  const long long ofDay = static_cast<long long>(whole - days * 86400.0);
  return text::Format("%04d-%02d-%02dT%02d:%02d:%02dZ", date.year, date.month, date.day, ofDay / 3600,
                      (ofDay / 60) % 60, ofDay % 60);
}

}  // namespace formats
