// Runs `ordinel chart` on its embedded default, as shipped and with every layer on, and reads the
// SVG as a trader reads the picture: candles that fill the plot, every level's label readable.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "render/render_test_support.h"
#include "replay_test_support.h"

namespace {

using render::testing::SvgBox;

// The lines of the SVG inside the first group of class `group`.
std::vector<std::string> GroupLines(const std::string& svg, const std::string& group) {
  std::vector<std::string> lines;
  std::istringstream in(svg.substr(std::min(svg.find("<g class=\"" + group + "\">"), svg.size())));
  int depth = 0;
  for (std::string line; std::getline(in, line);) {
    depth += line.rfind("<g", 0) == 0 ? 1 : 0;
    depth -= line == "</g>" ? 1 : 0;
    if (depth <= 0) break;
    lines.push_back(line);
  }
  return lines;
}

// The plot's rows (the first clip rectangle, the region) and the prices at its top and bottom
// edge, from the price axis's tick labels (the texts that are not bold price tags).
struct Plot {
  double top = 0;
  double bottom = 0;
  double high = 0;
  double low = 0;
};

Plot ReadPlot(const std::string& svg) {
  Plot plot;
  const std::string clip = svg.substr(svg.find("<clipPath id=\"clip1\">"));
  plot.top = render::testing::SvgNumber(clip, "y");
  plot.bottom = plot.top + render::testing::SvgNumber(clip, "height");
  std::vector<std::pair<double, double>> ticks;  // row, price
  for (const std::string& line : GroupLines(svg, "price-axis")) {
    if (line.rfind("<text", 0) != 0 || line.find("font-weight") != std::string::npos) continue;
    const SvgBox box = render::testing::SvgTextBox(line);
    double price = 0;
    if (text::ParseDouble(box.text, &price) == box.text.size())
      ticks.push_back({render::testing::SvgNumber(line, "y"), price});
  }
  if (ticks.size() < 2) return plot;
  const std::pair<double, double> first = ticks.front();
  const std::pair<double, double> last = ticks.back();
  const auto priceAt = [&](double y) {
    return first.second + (y - first.first) * (last.second - first.second) / (last.first - first.first);
  };
  plot.high = priceAt(plot.top);
  plot.low = priceAt(plot.bottom);
  return plot;
}

// The panel's level rows ("    CW    21862.50  ..."): name and price text.
std::vector<std::pair<std::string, std::string>> PanelLevels(const std::string& out) {
  std::vector<std::pair<std::string, std::string>> levels;
  const std::regex row(R"(^    (\S+)\s+(-?\d+\.\d\d)\s+[+-]\d)");
  std::istringstream in(
      out.substr(out.find("- - Levels -"), out.find("- - Zones -") - out.find("- - Levels -")));
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, row)) levels.push_back({m[1], m[2]});
  }
  return levels;
}

TEST(ChartPicture, CandlesFillThePlotAndEveryLabelIsClear) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> drawn;  // the panel's levels drawn as lines; empty: all of them
  };
  std::vector<std::string> everyLayer;
  for (const char* input : {"Draw Daily Volatility Zones (expected-move bands)",
                            "Draw NDX companion levels (NQ charts)",
                            "Draw Vanna walls + Vanna flip",
                            "Draw Charm zones + Charm flip",
                            "Draw Vega walls",
                            "Draw Hybrid observed walls",
                            "Draw session refs (PDH/PDL, RTH open, opening range)",
                            "Draw overnight inventory (RTH close, ONH, ONL)",
                            "Draw session VWAP +/- sigma bands",
                            "Draw ICT session ranges (Asia/London/NY AM)",
                            "Draw live IV expected-move band",
                            "GEX heatmap over the chart (net gamma per strike)",
                            "Draw core levels (Call/Put Wall, Gamma Flip)",
                            "Draw Vol Trigger",
                            "Draw Max Pain",
                            "Draw OI Walls",
                            "Draw Zero DEX",
                            "Draw Focus 1-3",
                            "Draw zone boundaries (Battle / clusters)",
                            "Draw top strikes as lines"}) {
    everyLayer.insert(everyLayer.end(), {"--set", std::string(input) + "=Yes"});
  }
  const Case cases[] = {
      {"default", {}, {"CW", "GF", "PW", "VT"}},
      {"every layer on", everyLayer, {}},
  };
  for (const Case& c : cases) {
    const std::string out = ::testing::TempDir() + "ordinel_picture_" + std::to_string(getpid());
    std::vector<std::string> args = {"chart", "--out", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const replay_test::ProgramRun run = replay_test::RunOrdinel(args);
    ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
    const std::string svg = replay_test::Slurp(out + ".svg");

    const std::vector<SvgBox> candles = render::testing::SvgBoxesIn(svg, "candles");
    ASSERT_FALSE(candles.empty()) << c.name;
    const Plot plot = ReadPlot(svg);
    ASSERT_LT(plot.low, plot.high) << c.name << ": the price axis has no two tick labels";
    double top = plot.bottom;
    double bottom = plot.top;
    for (const SvgBox& candle : candles) {
      top = std::min(top, candle.top);
      bottom = std::max(bottom, candle.bottom);
    }
    EXPECT_GE(bottom - top, (plot.bottom - plot.top) / 2) << c.name << ": the candles' range is a strip";

    std::vector<SvgBox> labels = render::testing::TextsOf(render::testing::SvgBoxesIn(svg, "level-labels"));
    const std::vector<SvgBox> markers =
        render::testing::TextsOf(render::testing::SvgBoxesIn(svg, "edge-markers"));
    labels.insert(labels.end(), markers.begin(), markers.end());
    for (const std::string& collision : render::testing::Collisions(labels, candles))
      ADD_FAILURE() << c.name << ": " << collision;

    std::string marked;
    for (const SvgBox& marker : markers) marked += marker.text + "|";
    int beyond = 0;
    for (const auto& [name, price] : PanelLevels(run.out)) {
      if (!c.drawn.empty() && std::find(c.drawn.begin(), c.drawn.end(), name) == c.drawn.end()) continue;
      double value = 0;
      text::ParseDouble(price, &value);
      if (value >= plot.low && value <= plot.high) continue;
      ++beyond;
      EXPECT_NE(marked.find(price + "  "), std::string::npos)
          << c.name << ": " << name << " " << price << " in " << marked;
    }
    EXPECT_GT(beyond, 0) << c.name << ": no level lies beyond the scale, so no marker was checked";
  }
}

}  // namespace
