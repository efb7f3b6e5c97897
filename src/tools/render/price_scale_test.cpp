#include "render/price_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "render/render_test_support.h"

namespace render {
namespace {

using testing::Band;
using testing::Line;
using testing::SmallChart;

TEST(PriceScale, FitsTheVisibleBarsNotTheLevels) {
  // Bars span 100..200: 8 % of that each side.
  struct Case {
    const char* name;
    std::vector<host::DrawingRequest> drawings;
    std::optional<chart::PriceRange> userScale;
    double low;
    double high;
  };
  const std::vector<Case> cases = {
      {"bars only", {}, {}, 92, 208},
      {"a level above the bars does not stretch it", {Line(1, 300, {})}, {}, 92, 208},
      {"nor a band", {Band(1, 0, 5, 250, -100, {}, 50)}, {}, 92, 208},
      {"the user's scale", {Line(1, 300, {})}, chart::PriceRange{150, 400}, 150, 400},
      {"an unusable user's scale is ignored", {}, chart::PriceRange{400, 150}, 92, 208},
  };
  for (const Case& c : cases) {
    chart::ChartData chart = SmallChart();
    chart.priceScale = c.userScale;
    const PriceScale scale = FitPriceScale(chart, c.drawings);
    EXPECT_NEAR(scale.low, c.low, 1e-9) << c.name;
    EXPECT_NEAR(scale.high, c.high, 1e-9) << c.name;
  }
  // A flat view gets a span around its price.
  chart::ChartData flat = SmallChart();
  flat.bars = chart::FlatBars(40, 21500);
  const PriceScale around = FitPriceScale(flat, {});
  EXPECT_LT(around.low, 21490);
  EXPECT_GT(around.high, 21510);
  EXPECT_TRUE(InScale(around, 21500));
  EXPECT_FALSE(InScale(around, 21600));
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
  EXPECT_DOUBLE_EQ(PriceY(scale, 208), 0);
  EXPECT_DOUBLE_EQ(PriceY(scale, 150), 112);
  EXPECT_DOUBLE_EQ(PriceY(scale, 92), 224);
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

}  // namespace
}  // namespace render
