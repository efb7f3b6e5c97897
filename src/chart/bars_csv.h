// Bars from a CSV text: a header row, then one bar per row with its open, high, low and close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_data.h"

namespace chart {

// Reads the bars of `csv`. The columns named open, high, low and close in the header (any
// letter case) are used, or the first four columns when the header names none of them; further
// columns are ignored, blank lines skipped, "\r\n" accepted. False with `*error` naming the
// line for a missing header, a short row or a field that is not a finite number.
bool ReadBarsCsv(std::string_view csv, std::vector<Bar>* bars, std::string* error);

}  // namespace chart
