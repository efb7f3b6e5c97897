// New York civil dates from the Windows time-zone database ("Eastern Standard Time").
#pragma once

#include "platform/services.h"

namespace platform {

// The New York civil date at `utcSeconds`; the UTC date when Windows has no Eastern zone or the
// moment lies outside Windows' calendar (not finite, before 1601-01-02, after about the year
// 30100). The zone is looked up once per process. Safe from any thread.
CivilDate WindowsNewYorkDate(double utcSeconds);

// Seconds New York's wall clock is ahead of UTC at `utcSeconds` (-18000 or -14400); 0 where
// WindowsNewYorkDate falls back to UTC.
double WindowsNewYorkUtcOffsetSeconds(double utcSeconds);

}  // namespace platform
