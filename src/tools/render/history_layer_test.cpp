#include "render/history_layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/clock.h"
#include "chart/declared_study_test_support.h"
#include "palette/subgraphs.h"
#include "platform/posix/posix_services.h"
#include "study/input_table.h"
#include "transport/http_transport.h"

namespace render {
namespace {

// A host with the study's inputs and subgraphs declared as the study declares them, over six
// bars 100 s apart from t = 1000, all visible.
class HistoryLayerTest : public ::testing::Test {
 protected:
  HistoryLayerTest() : host_(Chart(), clock_, transport_, platform::DefaultServices()) {
    chart::testing::DeclareStudy(host_);
  }

  static chart::ChartData Chart() {
    chart::ChartData chart;
    for (int i = 0; i < 6; ++i) chart.bars.push_back({1, 1, 1, 1, 1000.0 + 100 * i});
    chart.visible = {0, 5};
    return chart;
  }

  // The subgraphs that have steps, one entry per step.
  std::vector<int> StepSubgraphs(const chart::DayHistory* day = nullptr) const {
    std::vector<int> out;
    for (const HistoryStep& step : BuildHistoryLayer(host_, day).steps) out.push_back(step.subgraph);
    return out;
  }

  chart::VirtualClock clock_{1000};
  transport::ScriptedTransport transport_;
  chart::ChartHost host_;
};

TEST_F(HistoryLayerTest, EachLevelFollowsTheInputThatSwitchesItsDrawing) {
  for (const HistoryLevel& level : kHistoryLevels)
    host_.SetSubgraphValue(level.subgraph, 5, 100.0f + level.subgraph);
  host_.SetSubgraphValue(palette::kSgSpot, 5, 50);  // the spot is no level: never a step
  // By default max pain, the OI walls and zero DEX are not drawn.
  EXPECT_EQ(StepSubgraphs(), (std::vector<int>{0, 1, 2, 3, 8, 9, 10}));
  const struct {
    int slot;
    bool on;
    std::vector<int> subgraphs;
  } cases[] = {
      {study::kDrawCoreLevels, false, {3, 8, 9, 10}},
      {study::kDrawMaxPain, true, {3, 4, 8, 9, 10}},
      {study::kDrawOiWalls, true, {3, 4, 5, 6, 8, 9, 10}},
      {study::kDrawZeroDex, true, {3, 4, 5, 6, 7, 8, 9, 10}},
      {study::kDrawFocus, false, {3, 4, 5, 6, 7}},
      {study::kDrawVolTrigger, false, {4, 5, 6, 7}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(host_.Inputs().EditYesNo(c.slot, c.on)) << c.slot;
    EXPECT_EQ(StepSubgraphs(), c.subgraphs) << "after " << study::kInputTable[c.slot].label;
  }
}

// Filled or written by the study, a level's steps take the user's colour for it.
TEST_F(HistoryLayerTest, TheServicesHistoryFillsTheBarsBeforeTheStudyRan) {
  ASSERT_TRUE(host_.Subgraphs().SetUserColour(palette::kSgCallWall, {1, 2, 3}));
  // The study ran from bar 4 on; the service captured at t = 1150 and 1350.
  host_.SetSubgraphValue(palette::kSgCallWall, 4, 21900);
  host_.SetSubgraphValue(palette::kSgCallWall, 5, 21900);
  chart::DayHistory day;
  day.hasLevels = true;
  day.dayEnd = 100000;
  day.levels.times = {1150, 1350};
  for (auto& series : day.levels.levels) series = {0, 0};
  day.levels.levels[0] = {21800, 21850};  // call wall
  day.levels.levels[3] = {21600, 21600};  // vol trigger: the study wrote none, still filled
  const HistoryLayer layer = BuildHistoryLayer(host_, &day);
  std::vector<std::string> steps;
  for (const HistoryStep& s : layer.steps) {
    if (s.subgraph == palette::kSgCallWall) EXPECT_TRUE(s.colour == (host::Rgb{1, 2, 3})) << s.firstBar;
    steps.push_back(std::to_string(s.subgraph) + ":" + std::to_string(s.firstBar) + "-" +
                    std::to_string(s.lastBar) + "@" + std::to_string(static_cast<int>(s.price)));
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"0:2-3@21800", "0:4-5@21900", "3:2-3@21600"}));
}

}  // namespace
}  // namespace render
