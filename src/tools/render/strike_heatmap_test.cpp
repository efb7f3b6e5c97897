#include "render/strike_heatmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/render_test_support.h"
#include "render/svg_canvas.h"
#include "text/format.h"

namespace render {
namespace {

// "first-last low..high gex" per cell, joined by blanks.
std::string Describe(const std::vector<HeatCell>& cells) {
  std::string out;
  for (const HeatCell& c : cells) {
    out += text::Format("%s%d-%d %s..%s %s", out.empty() ? "" : " | ", c.firstBar, c.lastBar,
                        text::RoundTripDouble(c.low), text::RoundTripDouble(c.high),
                        text::RoundTripDouble(c.netGex));
  }
  return out;
}

// Two captures (at 1000 and 2000, ratios 2 and 3) of strikes 10, 12 and 16.
chart::DayHistory TwoCaptures() {
  chart::DayHistory day;
  day.hasStrikes = true;
  day.dayEnd = 5000;
  day.strikes.times = {1000, 2000};
  day.strikes.ratios = {2, 3};
  day.strikes.strikes = {10, 12, 16};
  day.strikes.netGex = {{5, NAN, -1}, {0, 7, 0}};
  return day;
}

std::vector<chart::Bar> BarsAt(const std::vector<double>& times) {
  std::vector<chart::Bar> bars;
  for (double t : times) bars.push_back({1, 1, 1, 1, t});
  return bars;
}

TEST(StrikeHeatmap, CellsSpanTheBarsOfTheirCaptureAtItsRatio) {
  const struct {
    const char* name;
    std::vector<double> barTimes;
    const char* cells;
  } cases[] = {
      // Strike 10's band reaches halfway to 12 either side (1), 16's halfway to 12 (2); the
      // null and zero cells draw nothing.
      {"bars of both captures", {1000, 1500, 2000, 2500}, "0-1 18..22 5 | 0-1 28..36 -1 | 2-3 33..39 7"},
      {"bars before the first capture and after the day get none",
       {900, 1000, 2000, 5000},
       "1-1 18..22 5 | 1-1 28..36 -1 | 2-2 33..39 7"},
      {"bars without times get none", {NAN, NAN}, ""},
      {"a gap without times splits a run",
       {1000, NAN, 1500},
       "0-0 18..22 5 | 0-0 28..36 -1 | 2-2 18..22 5 | 2-2 28..36 -1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(StrikeHeatCells(BarsAt(c.barTimes), TwoCaptures())), c.cells) << c.name;
  }
  chart::DayHistory none = TwoCaptures();
  none.hasStrikes = false;
  EXPECT_TRUE(StrikeHeatCells(BarsAt({1000}), none).empty()) << "no matrix, no cells";
}

TEST(StrikeHeatmap, ALoneStrikeTakesATenthOfAPercentEitherSide) {
  chart::DayHistory day = TwoCaptures();
  day.strikes.strikes = {1000};
  day.strikes.netGex = {{4}, {4}};
  EXPECT_EQ(Describe(StrikeHeatCells(BarsAt({1000}), day)), "0-0 1998..2002 4");
}

TEST(StrikeHeatmap, TheStrongestCellIsTheMostOpaqueAndSignPicksTheColour) {
  const chart::ChartData chart = testing::SmallChart();
  SvgCanvas svg(testing::kPictureWidth, testing::kPictureHeight);
  const PriceScale scale{0, 200, 0, 200};
  DrawStrikeHeatmap(svg, chart, scale, {{0, 1, 10, 20, 80}, {2, 3, 10, 20, -20}, {50, 60, 10, 20, 100}},
                    {0, 255, 0}, {255, 0, 0});
  const std::string document = svg.Document();
  // The third cell lies beyond the visible bars: not drawn, but the day's largest magnitude
  // still sets the scale, so that colours hold while the view scrolls.
  EXPECT_NE(document.find("fill=\"#00ff00\" fill-opacity=\"0.28\""), std::string::npos) << document;
  EXPECT_NE(document.find("fill=\"#ff0000\" fill-opacity=\"0.07\""), std::string::npos) << document;
  EXPECT_EQ(document.find("x=\"500\""), std::string::npos) << "the cell off the chart is not drawn";
}

}  // namespace
}  // namespace render
