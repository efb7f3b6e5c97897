// When a symbol is captured next: on its interval in New York market hours (09:30 to 16:15 on
// weekdays), on its off-hours interval outside them but never past the next 09:30, sooner after
// a failure with a backoff that doubles, and a little later by a jitter so that symbols on one
// interval do not all fetch at the same instant. The calendar knows no holidays.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>

#include "platform/services.h"

namespace live {

inline constexpr double kMarketOpenSeconds = 9.5 * 3600;     // 09:30 New York
inline constexpr double kMarketCloseSeconds = 16.25 * 3600;  // 16:15 New York
// The jitter adds up to this share of the delay it follows.
inline constexpr double kJitterShare = 0.05;
// The first retry after a failure; each further failure doubles it.
inline constexpr double kBackoffBaseSeconds = 5;

struct Cadence {
  double intervalSeconds = 60;           // in market hours
  double offHoursIntervalSeconds = 900;  // outside them
};

// True from 09:30 (included) to 16:15 (excluded) New York time on Monday to Friday.
bool InMarketHours(platform::Services& services, double utcSeconds);

// The first 09:30 New York of a weekday after `utcSeconds` (strictly).
double NextMarketOpen(platform::Services& services, double utcSeconds);

// The first attempt of a runtime started at `startAt`: at once but for a jitter of the market
// interval. `jitterUnit` is a draw from [0, 1).
double FirstAttemptAt(platform::Services& services, const Cadence& cadence, double startAt,
                      double jitterUnit);

// The attempt after one that ended `consecutiveFailures` failures in a row (0 after a success),
// counted `from` the last attempt (its start after a success, its end after a failure): the
// interval in force at `from` after a success, else the backoff (kBackoffBaseSeconds doubled per
// further failure, at most the off-hours interval); plus the jitter's share of that delay; and
// never later than the next market open.
double NextAttemptAt(platform::Services& services, const Cadence& cadence, double from,
                     int consecutiveFailures, double jitterUnit);

// The jitter draws of one symbol: a sequence fixed by its name, different for different names.
class JitterSource {
 public:
  explicit JitterSource(std::string_view symbol);
  // The next draw, in [0, 1).
  double Next();

 private:
  std::mt19937_64 engine_;
};

}  // namespace live
