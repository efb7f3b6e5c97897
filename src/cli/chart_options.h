// The command line of `ordinel chart`.
#pragma once

#include <string>
#include <vector>

#include "chart/curl_transport.h"
#include "cli/commands.h"

namespace cli {

struct ChartOptions {
  std::string origin;    // a levels service; empty: the sample service started in-process
  std::vector<chart::OriginRoute> routes;  // --route, in command-line order
  std::string barsFile;  // empty: the bundled sample bars that agree with the sample map
  std::string symbol = "NQZ25";
  double tickSize = 0.25;
  std::vector<std::string> sets;  // "LABEL=VALUE" as given, in command-line order
  std::vector<std::string> clicks;
  int width = 1280;
  int height = 720;
  std::string out = "ordinel-chart";  // pictures at out + ".png" and out + ".svg"
  std::string chartFile;
  std::string study;  // the study library; empty: beside the program
  bool live = false;
  bool help = false;
};

extern const char* const kChartUsage;

// Reads `args` into `options` (defaults above). Every option takes its value as the next
// argument or after '=' (--size=800x600). False with `*error` for an unknown option, a missing
// or malformed value (--origin must pass chart::CheckBaseUrl, --route take FROM=TO origins,
// --tick-size be a positive number, --size WxH within the picture limits, --set LABEL=VALUE).
bool ParseChartArgs(const Args& args, ChartOptions* options, std::string* error);

// `out` without a trailing ".png" or ".svg", so either names the pair of pictures.
std::string PictureBase(const std::string& out);

}  // namespace cli
