// Bars from a CSV text: a header row, then one bar per row with its open, high, low and close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/bar.h"
#include "platform/services.h"

namespace formats {

// The largest bars file read: about a hundred thousand bars.
inline constexpr size_t kMaxBarsFileBytes = size_t{8} << 20;

// What a bars file may hold besides its records and times, which every reader takes alike.
enum class BarRules {
  // A chart's bars (--bars): plain decimal prices (no exponent), and every bar's open and close
  // within its low to high.
  kChart,
  // A scripted session's bars: any finite decimal price, exponent included, in any order, as the
  // scenario's own bar lists may hold them (a scenario feeds the study a broken bar on purpose).
  kScenario,
};

// Reads the bars of `csv`, whose records CsvRecords reads. The columns named open, high, low
// and close in the header (any letter case) are used, or the first four other than the time
// column when the header names none of them; further columns are ignored. Prices are decimal
// numbers (sign and fraction allowed; an exponent only under BarRules::kScenario; never
// hexadecimal, inf or nan). A column named time, datetime, date or timestamp gives each bar its
// time (ParseTypedTime, New York wall clock read through `zone`); without one the bars have none.
// False with `*error` naming the line for what CsvRecords refuses, a missing header, a short
// row, a price `rules` do not take (the column and the field named), a bar `rules` do not take
// (its prices named), or a time that cannot be read or is not later than the bar before.
bool ReadBarsCsv(std::string_view csv, BarRules rules, platform::Services& zone, std::vector<Bar>* bars,
                 std::string* error);

// As above with the process's own New York zone (platform::OwnServices).
bool ReadBarsCsv(std::string_view csv, BarRules rules, std::vector<Bar>* bars, std::string* error);

}  // namespace formats
