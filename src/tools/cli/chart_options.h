// The command line of `ordinel chart`.
#pragma once

#include <string>
#include <vector>

#include "transport/origin_route.h"
#include "cli/chain_options.h"
#include "formats/option_table.h"

namespace cli {

// The served page's port when --port does not say, and the pace of the bundled bars on it.
inline constexpr int kDefaultServePort = 8765;
inline constexpr double kBundledBarsPace = 3;
// The fastest --clock-rate and the slowest --pace.
inline constexpr double kMaxClockRate = 3600;
inline constexpr double kMaxPaceSeconds = 3600;

struct ChartOptions {
  std::string origin;  // a levels service; empty: the sample service started in-process
  std::vector<transport::OriginRoute> routes;  // --route, in command-line order
  std::string barsFile;  // empty: the bundled sample bars that agree with the sample map
  std::string symbol = "NQZ25";
  double tickSize = 0.25;
  std::vector<std::string> sets;  // "LABEL=VALUE" as given, in command-line order
  std::vector<std::string> clicks;
  int width = 1280;
  int height = 720;
  std::string out = "ordinel-chart";  // pictures at out + ".png" and out + ".svg"
  std::string chartFile;
  std::string study;      // the study library; empty: beside the program
  bool outGiven = false;  // --out named a path (a served chart then keeps pictures there too)
  bool live = false;
  bool serve = false;            // --serve: the chart as a live page on loopback
  int port = kDefaultServePort;  // --port, with --serve; 0 takes any free port
  double paceSeconds = -1;       // --pace, with --serve; -1: kBundledBarsPace for the bundled bars, else off
  double clockRate = 1;          // --clock-rate, with --serve: session seconds per real second
  ChainOptions chain;            // --chain and its engine options; chain.chain empty: sample answers
  bool listInputs = false;       // --list-inputs: print the study's inputs and run nothing
  bool historyLines = false;     // --history-lines: the levels' past behind the current lines
};

// The options of `ordinel chart`, read into `*options` (defaults above), which must outlive the
// table. Beyond each row's own value (--origin must pass transport::CheckBaseUrl, --route take
// FROM=TO origins, --tick-size be above 0, --size WxH within the picture limits, --set
// LABEL=VALUE, --out a path whose PictureBase ends in a file name, --port 0 to 65535, --pace 0 to kMaxPaceSeconds, --clock-rate above 0 up to
// kMaxClockRate), its check refuses --port, --pace or --clock-rate without --serve, --chain
// with --origin, and --ratio with --future-price.
formats::OptionTable ChartOptionTable(ChartOptions* options);

// `out` without a trailing ".png" or ".svg", so either names the pair of pictures.
std::string PictureBase(const std::string& out);

}  // namespace cli
