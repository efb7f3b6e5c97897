#include "render/price_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/price_axis.h"
#include "render/render_test_support.h"

namespace render {
namespace {

using testing::Band;
using testing::Line;
using testing::SmallChart;

TEST(PriceScale, FitsTheVisibleBarsAndNearbyDrawings) {
  // Bars span 100..200, so drawings count within 4 spans: -300..600.
  struct Case {
    const char* name;
    std::vector<host::DrawingRequest> drawings;
    double low;
    double high;
  };
  const std::vector<Case> cases = {
      {"bars only", {}, 94, 206},
      {"line above within reach", {Line(1, 300, {})}, 88, 312},
      {"line far away ignored", {Line(1, 1000, {})}, 94, 206},
      {"band counts both edges", {Band(1, 0, 5, 250, -100, {}, 50)}, -121, 271},
      {"non-finite price ignored", {Line(1, NAN, {})}, 94, 206},
  };
  for (const Case& c : cases) {
    const PriceScale scale = FitPriceScale(SmallChart(), c.drawings);
    EXPECT_NEAR(scale.low, c.low, 1e-9) << c.name;
    EXPECT_NEAR(scale.high, c.high, 1e-9) << c.name;
  }
}

TEST(PriceScale, WithoutVisibleBars) {
  chart::ChartData chart = SmallChart();
  chart.bars.clear();
  chart.visible = {0, -1};
  const PriceScale empty = FitPriceScale(chart, {});
  EXPECT_EQ(empty.low, 0);
  EXPECT_EQ(empty.high, 1);
  // A single line gets a span around it rather than none.
  const PriceScale one = FitPriceScale(chart, {Line(1, 5000, {})});
  EXPECT_LT(one.low, 5000);
  EXPECT_GT(one.high, 5000);
}

TEST(PriceScale, PriceRows) {
  const PriceScale scale = FitPriceScale(SmallChart(), {});
  EXPECT_DOUBLE_EQ(PriceY(scale, 206), 0);
  EXPECT_DOUBLE_EQ(PriceY(scale, 150), 112);
  EXPECT_DOUBLE_EQ(PriceY(scale, 94), 224);
  EXPECT_DOUBLE_EQ(PriceY(scale, NAN), 112);
  EXPECT_DOUBLE_EQ(PriceY(scale, 1e300), -100000);  // clamped, not overflowing
  EXPECT_DOUBLE_EQ(PriceY(scale, -1e300), 224 + 100000);
}

TEST(PriceScale, AxisTicksAreRoundAndSpaced) {
  struct Case {
    double low, high, gap;
    std::vector<double> ticks;
  };
  const std::vector<Case> cases = {
      {94, 206, 48, {100, 125, 150, 175, 200}},  // 48 px is 24 points: step 25
      {94, 206, 20, {100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200}},
      {21400.3, 21400.9, 100, {21400.5}},
  };
  for (const Case& c : cases) {
    const PriceScale scale{c.low, c.high, 0, 224};
    EXPECT_EQ(AxisTicks(scale, c.gap), c.ticks) << c.low << ".." << c.high << " gap " << c.gap;
  }
  EXPECT_TRUE(AxisTicks({5, 5, 0, 224}, 48).empty());
}

TEST(PriceAxis, SpreadRowsKeepsOrderAndGap) {
  struct Case {
    const char* name;
    std::vector<double> rows;
    std::vector<double> placed;
  };
  const std::vector<Case> cases = {
      {"apart already", {50, 10, 90}, {50, 10, 90}},
      {"crowded pushed down", {10, 12, 14}, {10, 20, 30}},
      {"floor pulls up", {95, 96}, {90, 100}},
      {"ceiling", {-5, 0}, {0, 10}},
  };
  for (const Case& c : cases) EXPECT_EQ(SpreadRows(c.rows, 10, 0, 100), c.placed) << c.name;
}

}  // namespace
}  // namespace render
