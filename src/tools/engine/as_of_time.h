// The instant a chain was taken, as the command line and the exchange file write it.
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace engine {

// Reads "YYYY-MM-DDTHH:MM[:SS][.fff]" followed by "Z" or "+HH:MM"/"-HH:MM" (that instant),
// the same without a zone or with a blank instead of "T" (New York wall clock), or a plain
// number of seconds since 1970. False for anything else, *utcSeconds untouched.
bool ParseAsOfTime(std::string_view text, platform::Services& services, double* utcSeconds);

// "YYYY-MM-DDTHH:MM:SSZ" of whole seconds since 1970.
std::string UtcTimestampText(double utcSeconds);

}  // namespace engine
