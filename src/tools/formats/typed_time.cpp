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
  bool AtDigit() const { return at < text.size() && IsDigit(text[at]); }

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

  // One or two digits, not followed by a third, as a number.
  bool ShortNumber(int* out) {
    const size_t start = at;
    if (!Digits(1, out)) return false;
    int second = 0;
    if (Digits(1, &second)) *out = *out * 10 + second;
    if (!AtDigit()) return true;
    at = start;
    return false;
  }

  // A run of digits; how many there were.
  size_t DigitRun() {
    const size_t start = at;
    while (AtDigit()) ++at;
    return at - start;
  }
};

struct Date {
  int year = 0, month = 0, day = 0;
  bool slashed = false;  // written M/D/YYYY or D/M/YYYY
};

bool Exists(int year, int month, int day) {
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  const platform::CivilDate date = platform::CivilFromDays(platform::DaysFromCivil(year, month, day));
  return date.month == month && date.day == day;
}

// The two numbers before the year of "A/B/YYYY", and the year.
struct SlashParts {
  int first = 0, second = 0, year = 0;
};

bool ReadSlashParts(Cursor* c, SlashParts* parts) {
  const size_t start = c->at;
  if (c->ShortNumber(&parts->first) && c->Take('/') && c->ShortNumber(&parts->second) && c->Take('/') &&
      c->Digits(4, &parts->year) && !c->AtDigit()) {
    return true;
  }
  c->at = start;
  return false;
}

// The date a slash date names under `order`; false when it names none, or two under kFromDate.
bool SlashDateIn(const SlashParts& p, SlashDateOrder order, Date* date) {
  const bool monthFirst = Exists(p.year, p.first, p.second);
  const bool dayFirst = Exists(p.year, p.second, p.first);
  bool takeMonthFirst = false;
  switch (order) {
    case SlashDateOrder::kMonthFirst:
      if (!monthFirst) return false;
      takeMonthFirst = true;
      break;
    case SlashDateOrder::kDayFirst:
      if (!dayFirst) return false;
      break;
    case SlashDateOrder::kFromDate:
      if (monthFirst == dayFirst && (!monthFirst || p.first != p.second)) return false;
      takeMonthFirst = monthFirst;
      break;
  }
  *date = takeMonthFirst ? Date{p.year, p.first, p.second, true} : Date{p.year, p.second, p.first, true};
  return true;
}

// "YYYY-MM-DD" or a slash date that `order` reads.
bool ReadDate(Cursor* c, SlashDateOrder order, Date* date) {
  SlashParts parts;
  if (ReadSlashParts(c, &parts)) return SlashDateIn(parts, order, date);
  Date d;
  if (!c->Digits(4, &d.year) || !c->Take('-') || !c->Digits(2, &d.month) || !c->Take('-') ||
      !c->Digits(2, &d.day) || !Exists(d.year, d.month, d.day)) {
    return false;
  }
  *date = d;
  return true;
}

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

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff" (the hour of one digit too when `shortHour`) as seconds
// after midnight.
bool ReadClock(Cursor* c, bool shortHour, double* secondsOfDay) {
  int hour = 0, minute = 0, second = 0;
  const bool hourRead = shortHour ? c->ShortNumber(&hour) : c->Digits(2, &hour);
  if (!hourRead || !c->Take(':') || !c->Digits(2, &minute)) return false;
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

// The instant of `secondsOfDay` on `date`: New York wall clock when the text ends here, else
// at the offset that ends it.
bool Finish(Cursor* c, const Date& date, double secondsOfDay, platform::Services& zone, double* utcSeconds) {
  double utc = 0;
  if (c->AtEnd()) {
    utc = calendar::NewYorkWallClockToUtc(zone, date.year, date.month, date.day, secondsOfDay);
  } else {
    double offset = 0;
    if (!ReadOffset(c, &offset)) return false;
    utc = static_cast<double>(platform::DaysFromCivil(date.year, date.month, date.day)) * 86400.0 +
          secondsOfDay - offset;
  }
  if (!Within(utc)) return false;
  *utcSeconds = utc;
  return true;
}

// The whole seconds of `seconds` (on a clock counted from 1970) as "YYYY-MM-DD<sep>hh:mm:ss<tail>".
std::string CivilText(double seconds, char separator, const char* tail) {
  const double whole = std::floor(seconds);
  const double days = std::floor(whole / 86400.0);
  const platform::CivilDate date = platform::CivilFromDays(static_cast<int64_t>(days));
  const long long ofDay = static_cast<long long>(whole - days * 86400.0);
  return text::Format("%04d-%02d-%02d%c%02d:%02d:%02d%s", date.year, date.month, date.day, separator,
                      ofDay / 3600, (ofDay / 60) % 60, ofDay % 60, tail);
}

}  // namespace

bool ParseTypedTime(std::string_view text, SlashDateOrder order, platform::Services& zone,
                    double* utcSeconds) {
  if (ReadEpochSeconds(text, utcSeconds)) return true;
  Cursor c{text};
  Date date;
  if (!ReadDate(&c, order, &date)) return false;
  double secondsOfDay = 0;
  if (!c.AtEnd()) {
    const bool joined = c.Take(' ') || (!date.slashed && (c.Take('T') || c.Take('t')));
    if (!joined || !ReadClock(&c, date.slashed, &secondsOfDay)) return false;
  }
  return Finish(&c, date, secondsOfDay, zone, utcSeconds);
}

bool ParseTypedTime(std::string_view text, platform::Services& zone, double* utcSeconds) {
  return ParseTypedTime(text, SlashDateOrder::kFromDate, zone, utcSeconds);
}

bool IsTypedDate(std::string_view text, SlashDateOrder order) {
  Cursor c{text};
  Date date;
  return ReadDate(&c, order, &date) && c.AtEnd();
}

bool ParseTypedDateAndClock(std::string_view date, std::string_view clock, SlashDateOrder order,
                            platform::Services& zone, double* utcSeconds) {
  Cursor dateCursor{date};
  Date day;
  if (!ReadDate(&dateCursor, order, &day) || !dateCursor.AtEnd()) return false;
  Cursor c{clock};
  double secondsOfDay = 0;
  return ReadClock(&c, true, &secondsOfDay) && Finish(&c, day, secondsOfDay, zone, utcSeconds);
}

void SlashDateEvidence::Note(std::string_view text, size_t line) {
  Cursor c{text};
  SlashParts p;
  if (!ReadSlashParts(&c, &p)) return;
  const auto keep = [&](Seen* seen) {
    if (seen->line == 0) *seen = {line, std::string(text.substr(0, c.at))};
  };
  if (p.first > 12 && p.second > 12) return;
  if (p.first > 12) return keep(&dayFirst_);
  if (p.second > 12) return keep(&monthFirst_);
  if (p.first != p.second && Exists(p.year, p.first, p.second) && Exists(p.year, p.second, p.first))
    keep(&twoWays_);
}

bool SlashDateEvidence::Decide(std::string_view column, SlashDateOrder* order, std::string* error) const {
  const std::string name(column);
  if (dayFirst_.line != 0 && monthFirst_.line != 0) {
    const bool dayFirstEarlier = dayFirst_.line < monthFirst_.line;
    const Seen& later = dayFirstEarlier ? monthFirst_ : dayFirst_;
    const Seen& earlier = dayFirstEarlier ? dayFirst_ : monthFirst_;
    *error = text::Format(
        "line %zu: %s %s puts the %s first, but line %zu's %s puts the %s first: expected one "
        "order of day and month in the file (write dates as YYYY-MM-DD)",
        later.line, name, later.text, dayFirstEarlier ? "month" : "day", earlier.line, earlier.text,
        dayFirstEarlier ? "day" : "month");
    return false;
  }
  *order = dayFirst_.line != 0     ? SlashDateOrder::kDayFirst
           : monthFirst_.line != 0 ? SlashDateOrder::kMonthFirst
                                   : SlashDateOrder::kFromDate;
  if (*order != SlashDateOrder::kFromDate || twoWays_.line == 0) return true;
  Cursor c{twoWays_.text};
  SlashParts p;
  ReadSlashParts(&c, &p);
  *error = text::Format(
      "line %zu: %s %s reads as %04d-%02d-%02d (month first) or %04d-%02d-%02d (day first), and "
      "no date in the file has a day above 12 to tell which: expected dates as YYYY-MM-DD",
      twoWays_.line, name, twoWays_.text, p.year, p.first, p.second, p.year, p.second, p.first);
  return false;
}

std::string UtcTimestampText(double utcSeconds) { return CivilText(utcSeconds, 'T', "Z"); }

std::string NewYorkTimeText(double utcSeconds, platform::Services& zone) {
  const double whole = std::floor(utcSeconds);
  return CivilText(whole + zone.NewYorkUtcOffsetSeconds(whole), ' ', "");
}

}  // namespace formats
