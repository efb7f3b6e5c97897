// The chart file of `ordinel chart`, which keeps every input value by label between runs as the
// platform keeps a chart's study settings.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "chart/input_store.h"
#include "json/json_value.h"

namespace cli {

// The largest chart file read.
inline constexpr size_t kMaxChartFileBytes = size_t{1} << 20;

// Applies the chart file at `path` ({"inputs": {LABEL: VALUE, ...}}). A missing file is no
// error (`*existed` false; the run creates it). Labels the study does not declare are skipped
// and listed in `*skipped`. False with `*error` for a file that cannot be read, is larger than
// kMaxChartFileBytes, is not such a JSON object or holds a value its input does not take.
bool LoadChartFile(const std::string& path, chart::InputStore& inputs, bool* existed,
                   std::vector<std::string>* skipped, std::string* error);

// The chart file text of every declared input: yes/no as true/false, choices as their index.
std::string ChartFileText(const chart::InputStore& inputs);

// Writes ChartFileText to `path`, replacing the file whole (a failed write keeps the old one);
// false with `*error` naming the file.
bool SaveChartFile(const std::string& path, const chart::InputStore& inputs, std::string* error);

}  // namespace cli
