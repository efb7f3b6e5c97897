// Test support: moments around New York midnight through a year and both daylight-saving
// changes, with the New York date each must give. Every operating-system layer is held to it.
#pragma once

#include <string>

#include "platform/services.h"

namespace platform::testing {

struct NewYorkDateCase {
  const char* utc;
  double seconds;
  const char* newYorkDate;
};

// Midnight in New York is 05:00Z under EST and 04:00Z under EDT; a missing zone database shows
// up here as the UTC date.
inline constexpr NewYorkDateCase kNewYorkDateCases[] = {
    {"2025-01-01T04:59Z", 1735707540, "2024-12-31"},
    {"2025-01-01T05:00Z", 1735707600, "2025-1-1"},
    {"2025-07-01T03:59:59.9Z", 1751342399.9, "2025-6-30"},
    {"2025-07-01T04:00Z", 1751342400, "2025-7-1"},
    // The day DST starts: midnight is still EST.
    {"2025-03-09T04:59Z", 1741496340, "2025-3-8"},
    {"2025-03-09T05:00Z", 1741496400, "2025-3-9"},
    {"2025-03-10T03:59Z", 1741579140, "2025-3-9"},
    {"2025-03-10T04:00Z", 1741579200, "2025-3-10"},
    // The day DST ends: midnight is still EDT.
    {"2025-11-02T03:59Z", 1762055940, "2025-11-1"},
    {"2025-11-02T04:00Z", 1762056000, "2025-11-2"},
    {"2025-11-03T04:59Z", 1762145940, "2025-11-2"},
    {"2025-11-03T05:00Z", 1762146000, "2025-11-3"},
    {"1970-01-01T00:00Z", 0, "1969-12-31"},
    {"1969-12-31T23:59:59.5Z", -0.5, "1969-12-31"},
};

struct NewYorkOffsetCase {
  const char* utc;
  double seconds;
  double offset;
};

// Clocks go forward at 07:00Z on 9 March 2025 and back at 06:00Z on 2 November.
inline constexpr NewYorkOffsetCase kNewYorkOffsetCases[] = {
    {"2025-01-02T21:00Z", 1735851600, -18000}, {"2025-03-09T06:59:59Z", 1741503599, -18000},
    {"2025-03-09T07:00Z", 1741503600, -14400}, {"2025-11-02T05:59:59Z", 1762063199, -14400},
    {"2025-11-02T06:00Z", 1762063200, -18000}, {"not a time", __builtin_nan(""), 0},
    {"far beyond any calendar", 1e300, 0},
};

inline std::string DateText(CivilDate d) {
  return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

}  // namespace platform::testing
