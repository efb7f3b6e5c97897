#include "render/time_axis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/chart_renderer.h"
#include "render/render_test_support.h"
#include "render/svg_canvas.h"

namespace render {
namespace {

constexpr double kEst = -5 * 3600;
// 2025-01-01 00:00 New York (05:00 UTC).
constexpr double kNewYearsDay = 1735707600;
constexpr double kMinute = 60;

// A chart whose bar i opens `offsets[i]` minutes after New Year's Day began in New York.
chart::ChartData TimedChart(const std::vector<double>& minutes, int spacing) {
  chart::ChartData chart;
  for (const double m : minutes) chart.bars.push_back({1, 2, 0, 1, kNewYearsDay + m * kMinute});
  chart.visible = {0, static_cast<int>(minutes.size()) - 1};
  chart.region = {0, 200, 0, 2000};
  chart.barSpacing = spacing;
  return chart;
}

std::vector<double> Every(double startMinute, double stepMinutes, int count) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) out.push_back(startMinute + i * stepMinutes);
  return out;
}

std::string Describe(const std::vector<TimeMark>& marks, size_t count) {
  std::string out;
  for (size_t i = 0; i < marks.size() && i < count; ++i) {
    out += (i ? " " : "") + std::to_string(marks[i].bar) + ":" + marks[i].text + (marks[i].day ? "*" : "");
  }
  return out;
}

TEST(TimeAxis, StepFollowsTheSpacingAndDatesMarkDayChanges) {
  struct Case {
    const char* name;
    chart::ChartData chart;
    const char* firstMarks;  // bar:text, '*' for a date
    size_t count;
  };
  const Case cases[] = {
      // 5-minute bars from 23:00, 12 px apart: 30 minutes step, the date at midnight.
      {"five-minute bars", TimedChart(Every(23 * 60, 5, 60), 12), "6:23:30 12:Jan 2* 18:00:30 24:01:00", 4},
      // 1-minute bars 2 px apart: hourly.
      {"one-minute bars", TimedChart(Every(9 * 60 + 30, 1, 200), 2), "30:10:00 90:11:00 150:12:00", 3},
      // Daily bars 12 px apart: dates only, a week apart.
      {"daily bars", TimedChart(Every(0, 1440, 30), 12), "1:Jan 2* 8:Jan 9* 15:Jan 16*", 3},
      // A date closer than the gap to the hour before it takes that hour's place.
      {"date replaces a close hour", TimedChart({18 * 60, 19 * 60, 20 * 60, 21 * 60, 22 * 60, 24 * 60}, 40),
       "2:20:00 5:Jan 2*", 5},
  };
  for (const Case& c : cases) {
    const std::vector<TimeMark> marks = TimeMarks(c.chart, [](double) { return kEst; }, kTimeMarkGapPx);
    EXPECT_EQ(Describe(marks, c.count), c.firstMarks) << c.name;
    for (size_t i = 1; i < marks.size(); ++i) {
      EXPECT_GE((marks[i].bar - marks[i - 1].bar) * c.chart.barSpacing, kTimeMarkGapPx) << c.name << " mark " << i;
    }
  }
}

// The axis stands under the region in New York time, only when the bars have times; where its
// texts go does not depend on the canvas, so the SVG's texts show it.
TEST(TimeAxis, PicturesLabelTheAxisInNewYorkTimeWhenBarsHaveTimes) {
  chart::ChartData chart = testing::SmallChart();
  EXPECT_FALSE(VisibleBarsHaveTimes(chart));
  EXPECT_TRUE(TimeMarks(chart, [](double) { return kEst; }, kTimeMarkGapPx).empty());

  for (size_t i = 0; i < chart.bars.size(); ++i) chart.bars[i].time = kNewYearsDay - 4 * 3600 + i * 3600.0;
  SvgCanvas svg(testing::kPictureWidth, testing::kPictureHeight);
  RenderChart(chart, {}, svg);
  const std::string document = svg.Document();
  EXPECT_NE(document.find(">Jan 2</text>"), std::string::npos) << document;
  EXPECT_NE(document.find(">12:00</text>"), std::string::npos) << document;
}

}  // namespace
}  // namespace render
