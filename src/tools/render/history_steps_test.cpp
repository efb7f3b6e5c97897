#include "render/history_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/render_test_support.h"
#include "text/format.h"

namespace render {
namespace {

constexpr host::Rgb kGreen{115, 240, 176};
constexpr host::Rgb kRed{255, 139, 139};

// "subgraph:first-last@price" per step, joined by blanks.
std::string Describe(const std::vector<HistoryStep>& steps) {
  std::string out;
  for (const HistoryStep& s : steps) {
    out += text::Format("%s%d:%d-%d@%s", out.empty() ? "" : " ", s.subgraph, s.firstBar, s.lastBar,
                        text::RoundTripDouble(s.price));
  }
  return out;
}

TEST(HistorySteps, RunsOfEqualValuesWithZerosSkipped) {
  const float nan = std::nanf("");
  const struct {
    const char* name;
    std::vector<float> values;
    host::BarRange visible;
    const char* steps;
  } cases[] = {
      {"one level held", {5, 5, 5}, {0, 2}, "0:0-2@5"},
      {"a move makes two steps", {5, 5, 6, 6}, {0, 3}, "0:0-1@5 0:2-3@6"},
      {"a zero is no level and ends the run", {5, 0, 5}, {0, 2}, "0:0-0@5 0:2-2@5"},
      {"never written", {0, 0, 0}, {0, 2}, ""},
      {"a value that is not a number", {5, nan, 5}, {0, 2}, "0:0-0@5 0:2-2@5"},
      {"only the visible bars", {4, 5, 5, 6}, {1, 2}, "0:1-2@5"},
      {"a view past the values", {5, 5}, {0, 9}, "0:0-1@5"},
      {"a view before the first bar", {5, 5}, {-3, 0}, "0:0-0@5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(HistorySteps({{0, kGreen, c.values}}, c.visible)), c.steps) << c.name;
  }
}

TEST(HistorySteps, EachSeriesKeepsItsOwnColourAndOrder) {
  const std::vector<HistoryStep> steps = HistorySteps({{1, kRed, {3, 3}}, {0, kGreen, {0, 9}}}, {0, 1});
  EXPECT_EQ(Describe(steps), "1:0-1@3 0:1-1@9");
  EXPECT_TRUE(steps[0].colour == kRed);
  EXPECT_TRUE(steps[1].colour == kGreen);
}

// Records the lines a drawing makes.
class LineRecorder : public Canvas {
 public:
  struct Drawn {
    double x0, y0, x1, y1, opacity;
  };
  std::vector<Drawn> lines;
  int Width() const override { return testing::kPictureWidth; }
  int Height() const override { return testing::kPictureHeight; }
  void FillRect(const Rect&, const Paint&) override {}
  void StrokeRect(const Rect&, const Paint&, double) override {}
  void Line(double x0, double y0, double x1, double y1, const Paint& paint, double, Dash) override {
    lines.push_back({x0, y0, x1, y1, paint.opacity});
  }
  void Text(double, double, std::string_view, const TextStyle&) override {}
  double TextWidth(std::string_view, const TextStyle&) override { return 0; }
  void PushClip(const Rect&) override {}
  void PopClip() override {}
};

TEST(HistorySteps, AMoveOnAdjacentBarsIsJoinedByARiser) {
  const chart::ChartData chart = testing::SmallChart();  // bars 10 px apart from x = 0
  const PriceScale scale{100, 200, 0, 100};              // one price per pixel row
  LineRecorder canvas;
  DrawHistorySteps(canvas, chart, scale, HistorySteps({{0, kGreen, {150, 150, 160, 0, 170}}}, chart.visible));
  ASSERT_EQ(canvas.lines.size(), 4u) << "three steps and one riser (the zero leaves a gap)";
  const LineRecorder::Drawn& first = canvas.lines[0];
  EXPECT_DOUBLE_EQ(first.x0, 0);
  EXPECT_DOUBLE_EQ(first.x1, 20) << "across bars 0 and 1";
  EXPECT_DOUBLE_EQ(first.y0, 50.5);
  const LineRecorder::Drawn& riser = canvas.lines[1];
  EXPECT_DOUBLE_EQ(riser.x0, 20);
  EXPECT_DOUBLE_EQ(riser.x1, 20);
  EXPECT_DOUBLE_EQ(riser.y0, 50.5);
  EXPECT_DOUBLE_EQ(riser.y1, 40.5);
  for (const LineRecorder::Drawn& line : canvas.lines) EXPECT_DOUBLE_EQ(line.opacity, kHistoryStepOpacity);
}

}  // namespace
}  // namespace render
