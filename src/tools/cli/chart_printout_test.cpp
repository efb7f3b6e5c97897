#include "cli/chart_printout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/time_axis.h"

namespace cli {
namespace {

host::DrawingRequest Text(int line, int bar, double height, const std::string& text, bool relative = true) {
  host::DrawingRequest d;
  d.lineNumber = line;
  d.kind = host::DrawingKind::kText;
  d.beginBar = bar;
  d.beginValue = height;
  d.relativeVertical = relative;
  d.text = text;
  return d;
}

TEST(ChartPrintout, PanelRowsByHeightThenBar) {
  host::DrawingRequest line;
  line.kind = host::DrawingKind::kHorizontalLine;
  line.text = "CW - Call Wall";
  const std::vector<host::DrawingRequest> drawings = {
      Text(71401, 100, 93.32, "  CW    21862.50  "),
      Text(71461, 106, 94.66, "[Lines]"),
      Text(71460, 100, 94.66, " Simple "),
      Text(71400, 100, 97.0, "ORDINEL  NQ"),
      Text(71462, 110, 94.66, "[Zones]"),
      Text(99, 100, 21500, "price-placed, not the panel", false),
      Text(71402, 100, NAN, "nowhere"),
      line,
  };
  EXPECT_EQ(PanelRows(drawings),
            (std::vector<std::string>{"ORDINEL  NQ", " Simple [Lines][Zones]", "  CW    21862.50"}));
}

TEST(ChartPrintout, ChartFillsThePictureButTheAxis) {
  struct Case {
    int width, height, bars;
    int spacing, first, last;
  };
  const std::vector<Case> cases = {
      // 1200 pixels over 100 bars: 12 apart; the 240-pixel margin leaves room for 80.
      {1280, 720, 200, 12, 120, 199},
      {1000, 600, 200, 9, 119, 199},   // 920 pixels less 184 hold 81 bars of 9
      {200, 200, 500, 1, 404, 499},    // 120 pixels less 24: spacing never below 1
      {3000, 720, 400, 29, 310, 399},  // the margin stops at 300 pixels: 2620 hold 90 bars of 29
  };
  for (const Case& c : cases) {
    chart::ChartData chart;
    chart.bars = chart::FlatBars(c.bars, 100);
    FitChartToPicture(&chart, c.width, c.height);
    EXPECT_EQ(chart.barSpacing, c.spacing) << c.width << "x" << c.height;
    EXPECT_EQ(chart.visible.first, c.first) << c.width << "x" << c.height;
    EXPECT_EQ(chart.visible.last, c.last) << c.width << "x" << c.height;
    EXPECT_EQ(chart.region.right, c.width - kPriceAxisWidth) << c.width;
    EXPECT_LT(chart.region.bottom, c.height) << c.height;
    EXPECT_LE(chart::BarX(chart, c.last) + chart.barSpacing / 2, chart.region.right - chart.rightMargin)
        << c.width;
  }
}

TEST(ChartPrintout, BarsWithTimesLeaveRoomForTheTimeAxis) {
  chart::ChartData untimed;
  untimed.bars = chart::FlatBars(50, 100);
  chart::ChartData timed = untimed;
  for (size_t i = 0; i < timed.bars.size(); ++i) timed.bars[i].time = 1735828200 + 300.0 * i;
  FitChartToPicture(&untimed, 1280, 720);
  FitChartToPicture(&timed, 1280, 720);
  EXPECT_EQ(untimed.region.bottom - timed.region.bottom, render::kTimeAxisHeight);
}

TEST(ChartPrintout, AResizeKeepsTheSpacingAndTheLastVisibleBar) {
  struct Case {
    const char* name;
    int first;  // the view asked before the resize, at 1280x720
    int last;
    int width;  // the new size
    int height;
  };
  const Case cases[] = {
      {"wider, scrolled back", 500, 599, 1920, 1000},
      {"narrower, scrolled back", 500, 599, 640, 400},
      {"wider, at the latest bar", 900, 999, 1920, 1000},
      {"narrower, at the start", 0, 99, 640, 400},
  };
  for (const Case& c : cases) {
    chart::ChartData chart;
    chart.bars = chart::FlatBars(1000, 100);
    FitChartToPicture(&chart, 1280, 720);
    ASSERT_TRUE(chart::ShowBars(&chart, c.first, c.last)) << c.name;
    const int spacing = chart.barSpacing;
    const int lastShown = chart.visible.last;  // at the start, the spacing may show more than asked
    chart::ChartData fitted = chart;
    FitChartToPicture(&fitted, c.width, c.height);

    ResizeChartToPicture(&chart, c.width, c.height);
    EXPECT_EQ(chart.region.right, fitted.region.right) << c.name;
    EXPECT_EQ(chart.region.bottom, fitted.region.bottom) << c.name;
    EXPECT_EQ(chart.barSpacing, spacing) << c.name;
    EXPECT_EQ(chart.visible.last, lastShown) << c.name;
    EXPECT_EQ(chart.visible.last - chart.visible.first + 1, chart::BarsWidth(chart) / spacing) << c.name;
  }
}

}  // namespace
}  // namespace cli
