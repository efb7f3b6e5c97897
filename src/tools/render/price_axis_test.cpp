#include "render/price_axis.h"

#include <gtest/gtest.h>

#include <string>

#include "render/chart_renderer.h"
#include "render/render_test_support.h"
#include "render/svg_canvas.h"

namespace render {
namespace {

// A chart around zero (a spread) labelled its lowest tick, a line's tag and the last close
// "-0.00": a tick of -0 and prices a little below zero.
TEST(PriceAxis, RegressionPricesThatRoundToZeroCarryNoSign) {
  chart::ChartData chart = testing::SmallChart();
  for (chart::Bar& bar : chart.bars) bar = {0.5, 1, -0.002, 0.25};
  chart.bars.back() = {0.5, 1, -0.002, -0.001};
  host::DrawingRequest line = testing::Line(71000, -0.004, {255, 0, 0});
  line.valueInPriceScale = true;
  SvgCanvas svg(testing::kPictureWidth, testing::kPictureHeight);
  RenderChart(chart, {line}, svg);
  const std::string document = svg.Document();
  EXPECT_EQ(document.find("-0.00"), std::string::npos) << document;
  EXPECT_NE(document.find(">0.00<"), std::string::npos) << document;
  EXPECT_NE(document.find(">1.00<"), std::string::npos) << "the axis is labelled";
}

}  // namespace
}  // namespace render
