// The chart file of `ordinel chart`: every input value by label, kept between runs as the
// platform keeps a chart's study settings. What the file holds besides the study's inputs
// (labels the study does not declare, other members) goes back into it on save.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "chart/input_store.h"
#include "json/json_document.h"

namespace cli {

// The largest chart file read.
inline constexpr size_t kMaxChartFileBytes = size_t{1} << 20;

// A chart file as read: `document` holds its text and object (empty when the file did not
// exist yet). Not copyable.
struct ChartFile {
  bool existed = false;
  json::Document document;
};

// Reads the chart file at `path` into `*file` and applies its inputs. A missing file is no
// error (`existed` false; the run creates it). Labels the study does not declare are listed in
// `*skipped` and stay in `*file`. False with `*error` naming the file when it cannot be read,
// is larger than kMaxChartFileBytes, is not a JSON object with an "inputs" object or holds a
// value its input does not take.
bool LoadChartFile(const std::string& path, chart::InputStore& inputs, ChartFile* file,
                   std::vector<std::string>* skipped, std::string* error);

// The chart file's text: the members of the file's object in their order, its "inputs" object (first
// when the file had none) holding every declared input's value in slot order (yes/no as
// true/false, choices as their index), then the labels the study does not declare with the
// values the file gave them.
std::string ChartFileText(const ChartFile& file, const chart::InputStore& inputs);

// Writes ChartFileText to `path`, replacing the file whole (a failed write keeps the old one);
// false with `*error` naming the file.
bool SaveChartFile(const std::string& path, const ChartFile& file, const chart::InputStore& inputs,
                   std::string* error);

}  // namespace cli
