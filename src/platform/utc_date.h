// The UTC civil date of a moment: the date every layer falls back to when it has no New York
// zone, and the date of the fakes that need no zone at all.
#pragma once

#include <cmath>

#include "platform/services.h"

namespace platform {

// The proleptic Gregorian UTC date of the second that holds `utcSeconds`; 1970-01-01 for a
// value that is not finite, and dates are clamped some 270 million years out.
inline CivilDate UtcCivilDate(double utcSeconds) {
  constexpr double kLimitSeconds = 8.64e15;
  if (!std::isfinite(utcSeconds)) return {};
  const double clamped = std::fmax(-kLimitSeconds, std::fmin(kLimitSeconds, utcSeconds));
  const long long second = static_cast<long long>(std::floor(clamped));
  long long days = second / 86400 - (second % 86400 < 0 ? 1 : 0);
  // Days to civil, after Howard Hinnant's algorithm: eras of 400 years from 0000-03-01.
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

}  // namespace platform
