// The one grammar for the times people type and files carry: bar times in a bars file, the
// engine's --as-of and a chain's own timestamp. README.md "Times" describes it for users.
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace formats {

// Reads `text` into seconds since 1970 UTC. Accepted: "YYYY-MM-DD" and a time "hh:mm",
// "hh:mm:ss" or "hh:mm:ss.fff" joined by 'T' (or 't') or one blank, followed by "Z" (or 'z'),
// "+hh:mm", "+hhmm" or "+hh" (or '-') up to 18 hours, or by nothing for New York wall-clock time
// (calendar::NewYorkWallClockToUtc through `zone`); "YYYY-MM-DD" alone for New York midnight;
// or nine or more digits, with an optional fraction, as seconds since 1970. Second 60 (a leap
// second) is read as the first instant of the next minute. False (*utcSeconds untouched) for
// any other shape, a date that does not exist, hours past 23, minutes past 59, or an instant
// before 1970 or after 9999.
bool ParseTypedTime(std::string_view text, platform::Services& zone, double* utcSeconds);

// "YYYY-MM-DDThh:mm:ssZ" of the whole seconds of `utcSeconds`, which ParseTypedTime reads back.
std::string UtcTimestampText(double utcSeconds);

}  // namespace formats
