#include "render/level_labels.h"

#include <gtest/gtest.h>

#include <string>

#include "palette/line_plan.h"
#include "render/chart_renderer.h"
#include "render/render_test_support.h"
#include "render/svg_canvas.h"

namespace render {
namespace {

using palette::LineNumber;
using testing::Line;

constexpr host::Rgb kGold{240, 200, 60};

// SmallChart with room after its newest bar: 40 bars 6 pixels apart end at column 240 of the
// 400-pixel region, and the candles (100 to 200, rows 15 to 209) fill every row between.
chart::ChartData MarginChart() {
  chart::ChartData chart = testing::SmallChart();
  chart.barSpacing = 6;
  chart.rightMargin = 160;
  return chart;
}

std::string Svg(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings) {
  SvgCanvas svg(testing::kPictureWidth, testing::kPictureHeight);
  RenderChart(chart, drawings, svg);
  return svg.Document();
}

TEST(LevelLabels, FitLabelTextDropsSuffixesThenLongNamesThenCuts) {
  struct Case {
    const char* text;
    double room;
    const char* shown;
  };
  const Case cases[] = {
      {"CW - Call Wall  P(touch) 13%", 200, "CW - Call Wall  P(touch) 13%"},
      {"CW - Call Wall  GEX +1.2B  P(touch) 13%", 160, "CW - Call Wall  GEX +1.2B"},
      {"CW - Call Wall  P(touch) 13%", 100, "CW - Call Wall"},
      {"CW - Call Wall  P(touch) 13%", 60, "CW"},  // a level's short name before its long one
      {"VT/HVL - Vol Trigger", 30, "VT/H\xE2\x80\xA6"},
      {"Opening range high", 54, "Opening\xE2\x80\xA6"},  // the blank before the cut goes too
      {"\xC3\x9Cnic\xC3\xB6"
       "de  x",
       30, "\xC3\x9Cnic\xE2\x80\xA6"},  // cut between characters
      {"CW", 5, ""},
  };
  // Six pixels per character, as a monospaced face measures.
  const auto width = [](std::string_view text) {
    double columns = 0;
    for (const char c : text) columns += (c & 0xC0) != 0x80 ? 1 : 0;
    return columns * 6;
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitLabelText(c.text, c.room, width), c.shown) << c.text << " in " << c.room;
}

TEST(LevelLabels, RankFollowsTheLinePlan) {
  struct Case {
    int lineNumber;
    int rank;
  };
  const Case cases[] = {
      {LineNumber(palette::kLbCoreLevels), 0},
      {LineNumber(palette::kLbZoneBounds, 4), 1},
      {LineNumber(palette::kLbTopStrikes, 7), 3},
      {LineNumber(palette::kLbVwap), 2},
      {5, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(LabelRank(c.lineNumber), c.rank) << c.lineNumber;
}

// Eleven labels within one point, four of them core levels, and levels beyond both edges: every
// label and marker stays clear of the others and of the candles, and the core labels show.
TEST(LevelLabels, CrowdedLabelsNeitherOverlapNorCrossCandles) {
  std::vector<host::DrawingRequest> drawings;
  const char* core[] = {"CW - Call Wall", "GF - Gamma Flip  P(touch) 86%", "PW - Put Wall  P(touch) 23%",
                        "MP - Max Pain"};
  for (int i = 0; i < 4; ++i)
    drawings.push_back(Line(LineNumber(palette::kLbCoreLevels, i), 150 + i * 0.1, kGold, core[i]));
  const char* others[] = {"RTH OPEN", "RTH CLOSE", "VWAP", "DVZ +0.5", "ONH", "OR HIGH", "PDH"};
  const palette::LineBlock blocks[] = {palette::kLbRthOpen,       palette::kLbRthClose,
                                       palette::kLbVwap,          palette::kLbDailyVolZones,
                                       palette::kLbOvernightHigh, palette::kLbOpeningRangeHigh,
                                       palette::kLbPriorDayHigh};
  for (int i = 0; i < 7; ++i)
    drawings.push_back(Line(LineNumber(blocks[i]), 150.5 + i * 0.1, kGold, others[i]));
  drawings.push_back(Line(LineNumber(palette::kLbCoreLevels, 4), 1000, kGold, "COI - Call OI Wall"));
  drawings.push_back(Line(LineNumber(palette::kLbZoneBounds), 400, kGold, "UCL - Resistance"));
  drawings.push_back(Line(LineNumber(palette::kLbCoreLevels, 5), -50, kGold, "POI - Put OI Wall"));
  const std::string svg = Svg(MarginChart(), drawings);

  std::vector<testing::SvgBox> texts = testing::TextsOf(testing::SvgBoxesIn(svg, "level-labels"));
  const std::vector<testing::SvgBox> markers = testing::TextsOf(testing::SvgBoxesIn(svg, "edge-markers"));
  texts.insert(texts.end(), markers.begin(), markers.end());
  const std::vector<testing::SvgBox> candles = testing::SvgBoxesIn(svg, "candles");
  ASSERT_EQ(candles.size(), 80u) << "a wick and a body per bar";
  for (const std::string& collision : testing::Collisions(texts, candles)) ADD_FAILURE() << collision;
  std::string shown;
  for (const testing::SvgBox& box : texts) shown += box.text + "|";
  // Their names at least: the room after the newest bar holds 22 characters.
  for (const char* label : core) {
    const std::string name = std::string(label).substr(0, std::string(label).find("  "));
    EXPECT_NE(shown.find(name + "|"), std::string::npos) << name << " in " << shown;
  }
  // The markers say their price, the one above the scale at the top, the one below at the bottom.
  ASSERT_EQ(markers.size(), 3u) << shown;
  for (const testing::SvgBox& marker : markers) {
    const bool above = marker.text.rfind("1000.00", 0) == 0 || marker.text.rfind("400.00", 0) == 0;
    EXPECT_TRUE(above || marker.text.rfind("-50.00", 0) == 0) << marker.text;
    EXPECT_EQ(marker.bottom < 112, above) << marker.text;
  }
  EXPECT_NE(shown.find("| / |"), std::string::npos) << "the crowded band merged some labels: " << shown;
}

// A label moved off its line draws a leader from its end to the line's end at the price axis;
// one left on its line needs none.
TEST(LevelLabels, MovedLabelPointsToItsLine) {
  const chart::ChartData chart = MarginChart();
  const PriceScale scale = FitPriceScale(chart, {});
  for (const bool crowded : {false, true}) {
    std::vector<host::DrawingRequest> drawings = {
        Line(LineNumber(palette::kLbCoreLevels), 150, kGold, "CW - Call Wall")};
    if (crowded)
      drawings.push_back(Line(LineNumber(palette::kLbCoreLevels, 1), 150, {40, 40, 250}, "PW - Put Wall"));
    int leaders = 0;
    for (const testing::SvgBox& box : testing::SvgBoxesIn(Svg(chart, drawings), "level-labels")) {
      const bool toLineEnd = box.text.empty() && box.right == chart.region.right &&
                             std::fabs(box.bottom - PriceY(scale, 150)) < 0.6;
      leaders += toLineEnd ? 1 : 0;
    }
    EXPECT_EQ(leaders, crowded ? 1 : 0) << (crowded ? "crowded" : "alone");
  }
}

// Beside the candles a label gets the room after the newest bar (its suffix dropped, then cut);
// above them it runs whole over the empty plot.
TEST(LevelLabels, LongLabelsMakeRoomForTheCandles) {
  const std::string label = "GF - Gamma Flip  P(touch) 86%";
  struct Case {
    double price;
    bool whole;
  };
  for (const Case c : {Case{150, false}, Case{206, true}}) {
    const std::string svg =
        Svg(MarginChart(), {Line(LineNumber(palette::kLbCoreLevels), c.price, kGold, label)});
    const std::vector<testing::SvgBox> texts = testing::TextsOf(testing::SvgBoxesIn(svg, "level-labels"));
    ASSERT_EQ(texts.size(), 1u) << c.price;
    EXPECT_EQ(texts[0].text == label, c.whole) << c.price << ": " << texts[0].text;
    EXPECT_EQ(label.rfind(texts[0].text.substr(0, 6), 0), 0u) << c.price << ": " << texts[0].text;
    for (const std::string& collision : testing::Collisions(texts, testing::SvgBoxesIn(svg, "candles"))) {
      ADD_FAILURE() << c.price << ": " << collision;
    }
  }
}

}  // namespace
}  // namespace render
