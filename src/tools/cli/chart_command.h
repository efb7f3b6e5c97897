// `ordinel chart`: the main job. Runs the study on a chart against a levels service (by
// default the sample service in-process), writes the chart as PNG and SVG and prints the
// panel and the message log.
#pragma once

#include <string>

#include "chart/chart_host.h"
#include "cli/chart_options.h"

namespace cli {

// The bundled sample bars, which agree with the sample map: data/scenarios/nqz25_bars.csv
// beside the sample answers.
std::string DefaultBarsPath();

// Applies one "--set" text: the part before an '=' that names a declared input is the label
// (labels may hold '=' themselves; the longest that matches wins), the rest the value. False
// with `*error` when no prefix names an input or the value does not suit it.
bool ApplySetting(chart::InputStore& inputs, const std::string& setting, std::string* error);

}  // namespace cli
