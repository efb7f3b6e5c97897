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

// Reads the bars of `csv`, whose records CsvRecords reads. The columns named open, high, low
// and close in the header (any letter case) are used, or the first four other than the time
// column when the header names none of them; further columns are ignored. Prices are decimal
// numbers (sign, fraction and exponent allowed; no hexadecimal, inf or nan). A column named
// time, datetime, date or timestamp gives each bar its time (ParseTypedTime, New York wall clock
// read through `zone`); without one the bars have none. False with `*error` naming the line for
// what CsvRecords refuses, a missing header, a short row, a price that is not a finite decimal
// number, or a time that cannot be read or is not later than the bar before.
bool ReadBarsCsv(std::string_view csv, platform::Services& zone, std::vector<Bar>* bars, std::string* error);

// As above with the process's own New York zone (platform::OwnServices).
bool ReadBarsCsv(std::string_view csv, std::vector<Bar>* bars, std::string* error);

}  // namespace formats
