// The study inputs of an `ordinel chart` run: the chart file (every input value by label, kept
// between runs as the platform keeps a chart's study settings; what it holds besides the study's
// inputs goes back into it on save), the --set texts, and the order in which they apply.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "chart/input_store.h"
#include "chart/dialog_limits.h"
#include "cli/chart_options.h"
#include "json/json_document.h"

namespace cli {

using chart::kApiBaseUrlLabel;

// The largest chart file read.
inline constexpr size_t kMaxChartFileBytes = size_t{1} << 20;

// A chart file as read: `document` holds its text and object (empty when the file did not
// exist yet). Not copyable.
struct ChartFile {
  bool existed = false;
  json::Document document;
  // The embedded sample service's address, which "API base URL" holds for this run only: while
  // the input still holds it, the value it replaced is saved instead. Empty: no such service.
  std::string embeddedOrigin;
  std::string replacedOrigin;
};

// Reads the chart file at `path` into `*file` and applies its inputs. A missing file is no
// error (`existed` false; the run creates it). Labels the study does not declare are listed in
// `*skipped` and stay in `*file`. False with `*error` naming the file when it cannot be read,
// is larger than kMaxChartFileBytes, is not a JSON object with one "inputs" object or holds a
// value its input does not take.
bool LoadChartFile(const std::string& path, chart::InputStore& inputs, ChartFile* file,
                   std::vector<std::string>* skipped, std::string* error);

// The chart file's text: the members of the file's object in their order, its "inputs" object (first
// when the file had none) holding every declared input's value in slot order (yes/no as
// true/false, choices as their index; "API base URL" as `replacedOrigin` while it holds
// `embeddedOrigin`), then the labels the study does not declare with the values the file gave them.
std::string ChartFileText(const ChartFile& file, const chart::InputStore& inputs);

// Writes ChartFileText to `path`, replacing the file whole (a failed write keeps the old one);
// false with `*error` naming the file, also when the text is larger than kMaxChartFileBytes (a
// file the next run could not read); nothing is written then.
bool SaveChartFile(const std::string& path, const ChartFile& file, const chart::InputStore& inputs,
                   std::string* error);

// Applies one "--set" text: the part before an '=' that names a declared input is the label
// (labels may hold '=' themselves; the longest that matches wins), the rest the value, which
// must be one the settings dialog takes (chart::DialogLimits). False with `*error` when the
// value does not suit the input, or when no prefix names an input (the nearest labels named).
bool ApplySetting(chart::InputStore& inputs, const std::string& setting, std::string* error);

// Applies the run's inputs in the order a user's chart would have them: the sample session's
// settings when `sample` (the sample service runs), the chart file of --chart-file (read into
// `*chartFile`; labels the study does not declare are named on standard error), `origin` as
// the levels service (when `sample`, noted in `*chartFile` as its embeddedOrigin, with the value
// it replaced), then the --set texts. False with `*error` at the first that fails.
bool ApplyInputs(const ChartOptions& options, const std::string& origin, bool sample,
                 chart::InputStore& inputs, ChartFile* chartFile, std::string* error);

}  // namespace cli
