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
  // The first mark always says its date with the year, with its hour within a day.
  const Case cases[] = {
      // 5-minute bars from 23:00, 12 px apart: 30 minutes step, the date at midnight.
      {"five-minute bars", TimedChart(Every(23 * 60, 5, 60), 12),
       "6:Jan 1, 2025 23:30* 12:Jan 2* 18:00:30 24:01:00", 4},
      // 1-minute bars 2 px apart: hourly.
      {"one-minute bars", TimedChart(Every(9 * 60 + 30, 1, 200), 2),
       "30:Jan 1, 2025 10:00* 90:11:00 150:12:00", 3},
      // Daily bars 12 px apart: dates only, a week apart.
      {"daily bars", TimedChart(Every(0, 1440, 30), 12), "1:Jan 2, 2025* 8:Jan 9* 15:Jan 16*", 3},
      // A date closer than the gap to the hour before it takes that hour's place.
      {"date replaces a close hour", TimedChart({18 * 60, 19 * 60, 20 * 60, 21 * 60, 22 * 60, 24 * 60}, 40),
       "2:Jan 1, 2025 20:00* 5:Jan 2*", 5},
      // A view within one step has no mark of its own: its first bar carries the date.
      {"a view within one step", TimedChart({10 * 60 + 1, 10 * 60 + 2, 10 * 60 + 3}, 12),
       "0:Jan 1, 2025 10:01*", 3},
  };
  for (const Case& c : cases) {
    const std::vector<TimeMark> marks = TimeMarks(
        c.chart, [](double) { return kEst; }, kTimeMarkGapPx);
    EXPECT_EQ(Describe(marks, c.count), c.firstMarks) << c.name;
    for (size_t i = 1; i < marks.size(); ++i) {
      EXPECT_GE((marks[i].bar - marks[i - 1].bar) * c.chart.barSpacing, kTimeMarkGapPx)
          << c.name << " mark " << i;
    }
  }
}

// The axis stands under the region in New York time, only when the bars have times; where its
// texts go does not depend on the canvas, so the SVG's texts show it.
TEST(TimeAxis, PicturesLabelTheAxisInNewYorkTimeWhenBarsHaveTimes) {
  chart::ChartData chart = testing::SmallChart();
  EXPECT_FALSE(VisibleBarsHaveTimes(chart));
  EXPECT_TRUE(TimeMarks(
                  chart, [](double) { return kEst; }, kTimeMarkGapPx)
                  .empty());

  for (size_t i = 0; i < chart.bars.size(); ++i) chart.bars[i].time = kNewYearsDay - 4 * 3600 + i * 3600.0;
  SvgCanvas svg(testing::kPictureWidth, testing::kPictureHeight);
  RenderChart(chart, {}, svg);
  const std::string document = svg.Document();
  EXPECT_NE(document.find(">Jan 1, 2025</text>"), std::string::npos) << document;
  EXPECT_NE(document.find(">Jan 2</text>"), std::string::npos) << document;
  EXPECT_NE(document.find(">12:00</text>"), std::string::npos) << document;
  EXPECT_NE(document.find(">New York</text>"), std::string::npos) << "the zone, once\n" << document;
}

// The dated first text is wider than the marks' spacing: the hour after it gives way, a date
// takes an hour's place, and no two texts of the axis overlap.
TEST(TimeAxis, TextsNeverOverlap) {
  struct Case {
    const char* name;
    std::vector<double> minutes;
    int spacing;
    const char* texts;
  };
  const Case cases[] = {
      {"a day change takes the first text's place", Every(23 * 60, 5, 40), 12,
       "Jan 2, 2025|01:00|01:30|02:00|"},
      {"the hour after the first", Every(9 * 60, 5, 40), 11, "Jan 1, 2025 09:30|10:30|11:00|11:30|12:00|"},
  };
  for (const Case& c : cases) {
    chart::ChartData chart = TimedChart(c.minutes, c.spacing);
    chart.region = {0, 200, 0, 500};
    SvgCanvas svg(600, 240);
    RenderChart(chart, {}, svg);
    const std::vector<testing::SvgBox> texts =
        testing::TextsOf(testing::SvgBoxesIn(svg.Document(), "time-axis"));
    std::string shown;
    for (const testing::SvgBox& text : texts) shown += text.text == kTimeZoneName ? "" : text.text + "|";
    EXPECT_EQ(shown, c.texts) << c.name;
    for (const std::string& collision : testing::Collisions(texts, {}))
      ADD_FAILURE() << c.name << ": " << collision;
  }
}

}  // namespace
}  // namespace render
