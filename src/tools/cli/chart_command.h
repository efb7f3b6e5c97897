// `ordinel chart`: the main job. Runs the study on a chart against a levels service (by
// default the sample service in-process), writes the chart as PNG and SVG and prints the
// panel and the message log.
#pragma once

#include <string>

namespace cli {

// The bundled sample bars, which agree with the sample map: data/scenarios/nqz25_bars.csv
// beside the sample answers.
std::string DefaultBarsPath();

}  // namespace cli
