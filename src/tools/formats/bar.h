// One price bar as files and the chart carry it: open, high, low, close and, when the source
// gave one, its time.
#pragma once

#include <cmath>
#include <limits>

namespace formats {

inline constexpr double kNoBarTime = std::numeric_limits<double>::quiet_NaN();

struct Bar {
  double open = 0;
  double high = 0;
  double low = 0;
  double close = 0;
  double time = kNoBarTime;  // seconds since 1970 UTC when the bars file gave one
};

// True when `bar` carries a time.
inline bool HasTime(const Bar& bar) { return std::isfinite(bar.time); }

}  // namespace formats
