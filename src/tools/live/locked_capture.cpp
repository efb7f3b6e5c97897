#include "live/locked_capture.h"

#include <date/date.h>

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "text/format.h"

namespace live {
namespace {

constexpr double kOpenSecondsOfDay = 9 * 3600 + 30 * 60;

bool IsWeekday(date::sys_days day) {
  const date::weekday w{day};
  return w != date::Saturday && w != date::Sunday;
}

std::string DateText(date::sys_days day) {
  const date::year_month_day ymd{day};
  return text::Format("%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()));
}

bool ParseDay(std::string_view text, date::sys_days* out) {
  const double seconds = calendar::IsoDateToEpochSeconds(text);
  if (seconds < 0) return false;
  *out = date::sys_days{date::days{static_cast<int>(seconds / calendar::kSecondsPerDay)}};
  return true;
}

double OpenOf(platform::Services& services, date::sys_days day) {
  const date::year_month_day ymd{day};
  return calendar::NewYorkWallClockToUtc(
      services, static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
      static_cast<int>(static_cast<unsigned>(ymd.day())), kOpenSecondsOfDay);
}

date::sys_days WeekdayBefore(date::sys_days day) {
  do {
    day -= date::days{1};
  } while (!IsWeekday(day));
  return day;
}

// The first capture of `session` at or after its open, by its summary; 0 when there is none.
bool FirstAfterOpen(store::CaptureStore& store, std::string_view symbol, std::string_view session,
                    double open, int64_t* id, std::string* error) {
  std::vector<store::CaptureSummary> day;
  if (!store.DaySummaries(symbol, session, &day, error)) return false;
  *id = 0;
  for (const store::CaptureSummary& s : day) {
    if (static_cast<double>(s.asOf) >= open) {
      *id = s.id;
      break;
    }
  }
  return true;
}

}  // namespace

std::string LockedSessionAt(platform::Services& services, double nowSeconds) {
  const platform::CivilDate civil = services.NewYorkDate(nowSeconds);
  const date::sys_days today{date::year{civil.year} / date::month{static_cast<unsigned>(civil.month)} /
                             date::day{static_cast<unsigned>(civil.day)}};
  if (IsWeekday(today) && nowSeconds >= OpenOf(services, today)) return DateText(today);
  return DateText(WeekdayBefore(today));
}

double SessionOpen(platform::Services& services, std::string_view session) {
  date::sys_days day;
  return ParseDay(session, &day) ? OpenOf(services, day) : -1;
}

std::string NextSession(std::string_view session) {
  date::sys_days day;
  if (!ParseDay(session, &day)) return {};
  do {
    day += date::days{1};
  } while (!IsWeekday(day));
  return DateText(day);
}

bool FindLockedCapture(store::CaptureStore& store, platform::Services& services, std::string_view symbol,
                       double nowSeconds, std::optional<LockedCapture>* out, std::string* error) {
  out->reset();
  std::string session = LockedSessionAt(services, nowSeconds);
  for (int step = 0; step < kLockedSessionsBack; ++step) {
    const double open = SessionOpen(services, session);
    int64_t id = 0;
    if (!FirstAfterOpen(store, symbol, session, open, &id, error)) return false;
    if (id != 0) {
      std::optional<store::CaptureRecord> record;
      if (!store.ById(id, &record, error)) return false;
      if (!record) return true;  // pruned since the summaries were read
      *out = LockedCapture{std::move(*record), session, SessionOpen(services, NextSession(session))};
      return true;
    }
    // Straight to the last session that holds anything, so that days the service did not run
    // cost nothing.
    std::optional<store::CaptureRecord> before;
    if (!store.LastBefore(symbol, static_cast<int64_t>(std::floor(open)), &before, error)) return false;
    if (!before) return true;
    session = LockedSessionAt(services, static_cast<double>(before->summary.asOf));
  }
  return true;
}

}  // namespace live
