#include "live/capture_schedule.h"

#include <algorithm>
#include <cmath>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"

namespace live {
namespace {

// Days to look ahead for a weekday: past any weekend.
constexpr int kDaysInWeek = 7;

struct NewYorkDay {
  bool weekday = false;
  double open = 0, close = 0;  // UTC instants of 09:30 and 16:15 that day
};

// The New York day `ahead` days after the one `utcSeconds` falls in.
NewYorkDay DayOf(platform::Services& services, double utcSeconds, int ahead) {
  const platform::CivilDate date = services.NewYorkDate(utcSeconds);
  const int64_t days = platform::DaysFromCivil(date.year, date.month, date.day + ahead);
  NewYorkDay day;
  day.weekday = calendar::DaysUntilFriday(static_cast<double>(days) * calendar::kSecondsPerDay) <= 4;
  day.open =
      calendar::NewYorkWallClockToUtc(services, date.year, date.month, date.day + ahead, kMarketOpenSeconds);
  day.close =
      calendar::NewYorkWallClockToUtc(services, date.year, date.month, date.day + ahead, kMarketCloseSeconds);
  return day;
}

double Backoff(const Cadence& cadence, int failures) {
  const double doubled = kBackoffBaseSeconds * std::ldexp(1.0, std::min(failures, 40) - 1);
  return std::min(doubled, cadence.offHoursIntervalSeconds);
}

// 64-bit FNV-1a of the name: a seed that tells symbols apart and stays the same across runs.
uint64_t SeedOf(std::string_view symbol) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (char c : symbol) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

bool InMarketHours(platform::Services& services, double utcSeconds) {
  const NewYorkDay day = DayOf(services, utcSeconds, 0);
  return day.weekday && utcSeconds >= day.open && utcSeconds < day.close;
}

double NextMarketOpen(platform::Services& services, double utcSeconds) {
  for (int ahead = 0; ahead <= kDaysInWeek; ++ahead) {
    const NewYorkDay day = DayOf(services, utcSeconds, ahead);
    if (day.weekday && day.open > utcSeconds) return day.open;
  }
  return utcSeconds + kDaysInWeek * calendar::kSecondsPerDay;  // not reached: a week has weekdays
}

double FirstAttemptAt(platform::Services& services, const Cadence& cadence, double startAt,
                      double jitterUnit) {
  const double jitter = jitterUnit * kJitterShare * cadence.intervalSeconds;
  return std::min(startAt + jitter, NextMarketOpen(services, startAt));
}

double NextAttemptAt(platform::Services& services, const Cadence& cadence, double from,
                     int consecutiveFailures, double jitterUnit) {
  double delay = consecutiveFailures > 0         ? Backoff(cadence, consecutiveFailures)
                 : InMarketHours(services, from) ? cadence.intervalSeconds
                                                 : cadence.offHoursIntervalSeconds;
  delay += jitterUnit * kJitterShare * delay;
  return std::min(from + delay, NextMarketOpen(services, from));
}

JitterSource::JitterSource(std::string_view symbol) : engine_(SeedOf(symbol)) {}

double JitterSource::Next() {
  // The top 53 bits as a fraction: the same draws on every standard library.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

}  // namespace live
