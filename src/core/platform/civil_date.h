// Proleptic Gregorian day arithmetic shared by every platform layer and the calendar: days
// since 1970 to and from a civil date, and the UTC date of an instant (the fallback date when
// no New York zone is available).
#pragma once

#include <cstdint>

#include "platform/services.h"

namespace platform {

// Days since 1970-01-01 of year/month/day (month 1-12; any day count carries over).
int64_t DaysFromCivil(int64_t year, int month, int64_t day);

// The civil date `days` days after 1970-01-01 (negative counts go backwards).
CivilDate CivilFromDays(int64_t days);

// The UTC civil date at `utcSeconds`; 1970-01-01 for a non-finite or absurdly large input.
CivilDate UtcCivilDate(double utcSeconds);

}  // namespace platform
