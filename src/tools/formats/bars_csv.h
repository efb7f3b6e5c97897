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
  // Its time is one column, never a date and a time joined, so that no file a scenario read
  // before reads otherwise (the study never sees bar times).
  kScenario,
};

// Reads the bars of `csv`, whose records CsvRecords reads with the separator of its header row
// (comma, semicolon or tab). The header's columns (bars_columns.h) give open, high, low and
// close (last standing for close), or the first four; further columns are ignored. Prices are
// decimal numbers (sign and fraction allowed; an exponent only under BarRules::kScenario; never
// hexadecimal, inf or nan), with a decimal comma in a semicolon file (one mark per file, no
// thousands separators). The time column gives each bar its time (ParseTypedTime, New York wall
// clock read through `zone`, slash dates in the one order all the file's dates allow); under
// BarRules::kChart a date and a time-of-day column give it together. Without one the bars have
// none. False with `*error` naming the line, the column and what was expected for what
// CsvRecords refuses, a missing header, a header naming only some prices, a short row, a price
// `rules` do not take, a bar `rules` do not take (its prices named), slash dates of no one order,
// or a time that cannot be read or is not later than the bar before.
bool ReadBarsCsv(std::string_view csv, BarRules rules, platform::Services& zone, std::vector<Bar>* bars,
                 std::string* error);

// As above with the process's own New York zone (platform::OwnServices).
bool ReadBarsCsv(std::string_view csv, BarRules rules, std::vector<Bar>* bars, std::string* error);

}  // namespace formats
