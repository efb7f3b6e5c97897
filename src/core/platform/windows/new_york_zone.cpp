#include "platform/windows/new_york_zone.h"

#include <windows.h>

#include <cmath>
#include <cwchar>
#include <optional>

#include "platform/civil_date.h"

namespace platform {
namespace {

constexpr wchar_t kEasternZoneKey[] = L"Eastern Standard Time";
constexpr double kFileTimeEpochToUnixSeconds = 11644473600.0;  // 1601-01-01 to 1970-01-01
constexpr unsigned long long kFileTimeTicksPerSecond = 10000000;
// A day after 1601 starts, so that New York's date is still a Windows date; the upper end keeps
// SYSTEMTIME's year (at most 30827) in reach.
constexpr double kFirstSecondSince1601 = 86400.0;
constexpr double kLastSecondSince1601 = 9.0e11;

// The registry's zone list, searched by key name, which does not change with the display
// language. Enumerating stops at the first index Windows does not fill.
std::optional<DYNAMIC_TIME_ZONE_INFORMATION> FindEasternZone() {
  for (DWORD index = 0;; ++index) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (EnumDynamicTimeZoneInformation(index, &zone) != ERROR_SUCCESS) return std::nullopt;
    if (std::wcscmp(zone.TimeZoneKeyName, kEasternZoneKey) == 0) return zone;
  }
}

// Found on first use, under the thread-safe initialisation of a function-local static.
const std::optional<DYNAMIC_TIME_ZONE_INFORMATION>& EasternZone() {
  static const std::optional<DYNAMIC_TIME_ZONE_INFORMATION> zone = FindEasternZone();
  return zone;
}

}  // namespace

namespace {

// New York's wall clock at `utcSeconds` (whole seconds), or nothing when Windows has no Eastern
// zone or the moment lies outside Windows' calendar.
std::optional<SYSTEMTIME> NewYorkLocalTime(double utcSeconds) {
  const std::optional<DYNAMIC_TIME_ZONE_INFORMATION>& eastern = EasternZone();
  if (!eastern || !std::isfinite(utcSeconds)) return std::nullopt;
  const double since1601 = std::floor(utcSeconds) + kFileTimeEpochToUnixSeconds;
  if (since1601 < kFirstSecondSince1601 || since1601 > kLastSecondSince1601) return std::nullopt;

  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<unsigned long long>(since1601) * kFileTimeTicksPerSecond;
  const FILETIME fileTime{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utcTime;
  if (!FileTimeToSystemTime(&fileTime, &utcTime)) return std::nullopt;
  // The rules of the moment's own year (Windows keeps their history). The year-specific rules
  // with SystemTimeToTzSpecificLocalTime give what the dynamic ...Ex form gives, and Wine
  // implements them; Wine 8 aborts in SystemTimeToTzSpecificLocalTimeEx.
  DYNAMIC_TIME_ZONE_INFORMATION zone = *eastern;
  TIME_ZONE_INFORMATION rules;
  SYSTEMTIME local;
  if (!GetTimeZoneInformationForYear(utcTime.wYear, &zone, &rules) ||
      !SystemTimeToTzSpecificLocalTime(&rules, &utcTime, &local)) {
    return std::nullopt;
  }
  return local;
}

}  // namespace

CivilDate WindowsNewYorkDate(double utcSeconds) {
  const std::optional<SYSTEMTIME> local = NewYorkLocalTime(utcSeconds);
  if (!local) return UtcCivilDate(utcSeconds);
  return {local->wYear, local->wMonth, local->wDay};
}

double WindowsNewYorkUtcOffsetSeconds(double utcSeconds) {
  const std::optional<SYSTEMTIME> local = NewYorkLocalTime(utcSeconds);
  if (!local) return 0;
  const double localSeconds =
      static_cast<double>(DaysFromCivil(local->wYear, local->wMonth, local->wDay)) * 86400.0 +
      local->wHour * 3600.0 + local->wMinute * 60.0 + local->wSecond;
  return localSeconds - std::floor(utcSeconds);
}

}  // namespace platform
