#include "chart/chart_data.h"

#include <gtest/gtest.h>

#include <string>

namespace chart {
namespace {

TEST(PriceFormat, DecimalsFollowTheTickSize) {
  struct Case {
    double tick;
    double price;
    const char* text;
  };
  const Case cases[] = {
      {0.25, 21600, "21600.00"},
      {0.25, 21512.5, "21512.50"},
      {0.1, 2650.36, "2650.4"},
      {1, 5012.6, "5013"},
      {0.005, 31.2, "31.200"},
      {0.03125, 110.5, "110.50000"},
      {0, 1.5, "1.50"},
      {-1, 1.5, "1.50"},
      {1e-9, 21862.5, "21862.50000000"},  // a tick too fine to print keeps all eight decimals
      // Negative values that round to zero printed "-0.00"; those that do not keep their sign.
      {0.25, -0.0, "0.00"},
      {0.25, -0.004, "0.00"},
      {1, -0.4, "0"},
      {0.005, -0.0004, "0.000"},
      {0.25, -0.006, "-0.01"},
      {1, -0.6, "-1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatPriceForTick(c.price, c.tick), c.text) << "tick " << c.tick << " price " << c.price;
  }
}

TEST(BarX, CentreOfTheBarsColumnFromTheFirstVisibleBar) {
  ChartData chart = DefaultChart();  // visible 100..199, left 0, spacing 8
  struct Case {
    int left;
    int spacing;
    int bar;
    int x;
  };
  const Case cases[] = {{0, 8, 100, 4}, {0, 8, 199, 796}, {0, 8, 99, -4}, {30, 8, 101, 42}, {0, 5, 102, 12}};
  for (const Case& c : cases) {
    chart.region.left = c.left;
    chart.barSpacing = c.spacing;
    EXPECT_EQ(BarX(chart, c.bar), c.x) << "left " << c.left << " spacing " << c.spacing << " bar " << c.bar;
  }
}

TEST(PercentToY, HeightsAreMeasuredFromTheRegionBottom) {
  const host::RegionBounds region{20, 620, 0, 1000};
  struct Case {
    double percent;
    int y;
  };
  const Case cases[] = {{0, 620}, {100, 20}, {50, 320}, {97, 38}, {97.6, 34}};
  for (const Case& c : cases) EXPECT_EQ(PercentToY(region, c.percent), c.y) << c.percent;
}

TEST(PriceToY, VisibleRangeSpansTheRegion) {
  ChartData chart = DefaultChart();
  chart.bars[150] = {21500, 21600, 21400, 21500};
  EXPECT_EQ(PriceToY(chart, 21600), 20);
  EXPECT_EQ(PriceToY(chart, 21400), 620);
  EXPECT_EQ(PriceToY(chart, 21500), 320);
  chart.visible = {0, 99};  // only flat bars: no span
  EXPECT_EQ(PriceToY(chart, 21600), 320);
}

TEST(AppendBars, ViewOnTheLastBarScrollsAlongOtherViewsStay) {
  ChartData chart = DefaultChart();
  AppendBars(&chart, FlatBars(3, 21510));
  EXPECT_EQ(chart.bars.size(), 203u);
  EXPECT_EQ(chart.visible.first, 103);
  EXPECT_EQ(chart.visible.last, 202);
  chart.visible = {10, 50};
  AppendBars(&chart, FlatBars(2, 21510));
  EXPECT_EQ(chart.visible.first, 10);
  EXPECT_EQ(chart.visible.last, 50);
}

TEST(ShowBars, ScrollAndZoomStayInsideTheChart) {
  struct Case {
    int bars;
    int first;
    int last;
    int margin;
    int spacing;
    int shownFirst;
    int shownLast;
  };
  // A region 1200 pixels wide; a right margin leaves that many pixels free of bars.
  const Case cases[] = {
      {200, 50, 149, 0, 12, 50, 149},      // scrolled back
      {200, 0, 199, 0, 6, 0, 199},         // zoomed out to every bar
      {200, -300, 500, 0, 6, 0, 199},      // further out than the chart holds
      {200, 150, 250, 0, 11, 91, 199},     // past the last bar: 109 fit at 11 pixels
      {200, -20, 79, 0, 12, 0, 99},        // before the first bar
      {200, 120, 122, 0, 60, 103, 122},    // zoomed in past the widest spacing: 20 bars at 60
      {5, 0, 4, 0, 60, 0, 4},              // a short chart shows all its bars
      {200, 120, 199, 240, 12, 120, 199},  // 960 pixels left of the margin: 80 bars of 12
      {200, 50, 149, 240, 9, 44, 149},     // 100 bars asked: 9 apart, so 106 fit
      {200, 50, 149, -5, 12, 50, 149},     // a negative margin is none
      {200, 50, 149, 5000, 1, 149, 149},   // a margin wider than the region leaves one column
  };
  for (const Case& c : cases) {
    ChartData chart;
    chart.bars = FlatBars(c.bars, 1);
    chart.region = {0, 500, 0, 1200};
    chart.rightMargin = c.margin;
    const std::string name =
        std::to_string(c.first) + ".." + std::to_string(c.last) + " margin " + std::to_string(c.margin);
    ASSERT_TRUE(ShowBars(&chart, c.first, c.last)) << name;
    EXPECT_EQ(chart.barSpacing, c.spacing) << name;
    EXPECT_EQ(chart.visible.first, c.shownFirst) << name;
    EXPECT_EQ(chart.visible.last, c.shownLast) << name;
  }
  ChartData empty;
  empty.bars.clear();
  EXPECT_FALSE(ShowBars(&empty, 0, 10));
  ChartData chart = DefaultChart();
  const host::BarRange before = chart.visible;
  EXPECT_FALSE(ShowBars(&chart, 50, 40));
  EXPECT_EQ(chart.visible.first, before.first);
}

TEST(LastBars, FewerBarsThanTheViewShowsThemAll) {
  EXPECT_EQ(LastBars(200, 100).first, 100);
  EXPECT_EQ(LastBars(40, 100).first, 0);
  EXPECT_EQ(LastBars(40, 100).last, 39);
  EXPECT_LT(LastBars(0, 100).last, LastBars(0, 100).first);
}

}  // namespace
}  // namespace chart
