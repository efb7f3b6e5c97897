// Where a bars file's header row puts each thing a bar is read from: its prices, and its time in
// one column or in a date and a time-of-day column. Internal to the bars reader (bars_csv.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "formats/bars_csv.h"

namespace formats {

inline constexpr size_t kNoColumn = static_cast<size_t>(-1);

// The canonical names of the four prices, in the order BarColumns::prices holds them.
inline constexpr const char* kPriceNames[4] = {"open", "high", "low", "close"};

struct BarColumns {
  size_t prices[4] = {0, 1, 2, 3};  // open, high, low, close
  size_t time = kNoColumn;          // the bar's time, or its date when `clock` is a column
  size_t clock = kNoColumn;         // the time of day joined to the date in `time`
  std::string timeName, clockName;  // those columns' names as the header writes them
};

// The columns `header` names (any letter case): open, high, low and close (or, when open, high
// and low are named and close is not, last); the first four besides the time columns when it
// names none of them. The time is the first column named time, datetime, date or timestamp;
// under BarRules::kChart a column named date and one named time are read together. False with
// `*error` naming `line`, the prices named and the ones missing when it names only some.
bool BarColumnsFromHeader(const std::vector<std::string>& header, BarRules rules, size_t line,
                          BarColumns* columns, std::string* error);

}  // namespace formats
