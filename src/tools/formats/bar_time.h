// The time of a bar as a bars file gives it: an ISO 8601 date-time (with an offset, Z, or none
// for New York wall-clock time) or seconds since 1970.
#pragma once

#include <string_view>

#include "platform/services.h"

namespace formats {

// Reads `text` into seconds since 1970 UTC. Accepted: "YYYY-MM-DDThh:mm[:ss[.fff]]" ('T' or one
// blank between date and time) followed by "Z", "+hh:mm", "-hhmm" or "+hh", or by nothing for a
// New York wall-clock time (calendar::NewYorkWallClockToUtc through `zone`); "YYYY-MM-DD" alone
// for New York midnight; or a plain decimal number of seconds. False (*out untouched) for any
// other shape, a date that does not exist, hours past 23, minutes or seconds past 59, an offset
// beyond 18 hours, or an instant before 1970 or after 9999.
bool ParseBarTime(std::string_view text, platform::Services& zone, double* out);

}  // namespace formats
