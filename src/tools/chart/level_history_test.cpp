#include "chart/level_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace chart {
namespace {

using formats::Bar;
using formats::kNoBarTime;

// Two captures, the second without a put wall; the series the chart does not draw are ignored.
const char* const kHistory =
    R"({"ok":true,"times":[1000,2000],"series":{"spot":[1,2],"call_wall":[21800,21850],)"
    R"("put_wall":[21400,null],"zero_gamma":[5,6]}})";

const char* const kStrikes =
    R"({"ok":true,"times":[1000,2000],"ratios":[41,42],"underlying_strikes":[500,505,510],)"
    R"("strikes":[1,2,3],"net_gex":[[1,null,-2],[0,3,4]]})";

TEST(LevelHistory, ReadsTheSeriesItDrawsWithAbsentLevelsAsZero) {
  LevelHistory history;
  std::string error;
  ASSERT_TRUE(ReadLevelHistory(kHistory, &history, &error)) << error;
  EXPECT_EQ(history.times, (std::vector<double>{1000, 2000}));
  EXPECT_EQ(history.levels[0], (std::vector<double>{21800, 21850}));  // call_wall
  EXPECT_EQ(history.levels[1], (std::vector<double>{21400, 0}));      // put_wall, null
  EXPECT_EQ(history.levels[2], (std::vector<double>{0, 0}));          // gamma_flip, missing
}

TEST(LevelHistory, RefusesAnswersItCannotPlaceOnBars) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<html>", "not a JSON object"},
      {R"({"ok":false,"error":{"code":"symbol_not_supported"}})", "\"ok\" is not true"},
      {R"({"ok":true,"times":[2000,1000],"series":{}})", "\"times\" are not ascending"},
      {R"({"ok":true,"times":[1000,"x"],"series":{}})", "\"times\" are not ascending"},
      {R"({"ok":true,"times":[1000,2000],"series":{"call_wall":[1]}})",
       "\"call_wall\" does not hold one number"},
      {R"({"ok":true,"times":[1000],"series":{"max_pain":["a"]}})", "\"max_pain\" does not hold one number"},
  };
  for (const auto& [body, expected] : cases) {
    LevelHistory history;
    std::string error;
    EXPECT_FALSE(ReadLevelHistory(body, &history, &error)) << body;
    EXPECT_NE(error.find(expected), std::string::npos) << body << ": " << error;
  }
}

TEST(StrikeMatrix, ReadsTheMatrixWithNullCellsAsNaN) {
  StrikeMatrix matrix;
  std::string error;
  ASSERT_TRUE(ReadStrikeMatrix(kStrikes, &matrix, &error)) << error;
  EXPECT_EQ(matrix.ratios, (std::vector<double>{41, 42}));
  EXPECT_EQ(matrix.strikes, (std::vector<double>{500, 505, 510}));
  ASSERT_EQ(matrix.netGex.size(), 2u);
  EXPECT_EQ(matrix.netGex[0][0], 1);
  EXPECT_TRUE(std::isnan(matrix.netGex[0][1]));
  EXPECT_EQ(matrix.netGex[1][2], 4);
}

TEST(StrikeMatrix, RefusesInconsistentMatrices) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"ok":true,"times":[1],"ratios":[0],"underlying_strikes":[1],"net_gex":[[1]]})", "\"ratios\""},
      {R"({"ok":true,"times":[1,2],"ratios":[1],"underlying_strikes":[1],"net_gex":[[1],[1]]})",
       "\"ratios\""},
      {R"({"ok":true,"times":[1],"ratios":[1],"underlying_strikes":[2,1],"net_gex":[[1,1]]})",
       "\"underlying_strikes\""},
      {R"({"ok":true,"times":[1],"ratios":[1],"underlying_strikes":[1,2],"net_gex":[[1]]})",
       "one value per strike"},
      {R"({"ok":true,"times":[1,2],"ratios":[1,1],"underlying_strikes":[1],"net_gex":[[1]]})",
       "one row per time"},
  };
  for (const auto& [body, expected] : cases) {
    StrikeMatrix matrix;
    std::string error;
    EXPECT_FALSE(ReadStrikeMatrix(body, &matrix, &error)) << body;
    EXPECT_NE(error.find(expected), std::string::npos) << body << ": " << error;
  }
}

Bar At(double time) { return Bar{1, 1, 1, 1, time}; }

TEST(LevelHistory, EachBarTakesTheLatestCaptureAtOrBeforeItsTime) {
  const std::vector<double> times = {1000, 2000, 3000};
  const struct {
    double time;
    int capture;
  } cases[] = {
      {kNoBarTime, -1},  // no time, no capture
      {999, -1},         // before the first capture of the day
      {1000, 0},         // at a capture: that capture
      {1999, 0},         // between two: the earlier
      {3500, 2},         // after the last, within the day
      {4000, -1},        // the day has ended
  };
  std::vector<Bar> bars;
  for (const auto& c : cases) bars.push_back(At(c.time));
  const std::vector<int> got = CaptureAtBars(bars, times, 4000);
  for (size_t i = 0; i < bars.size(); ++i) EXPECT_EQ(got[i], cases[i].capture) << "bar at " << cases[i].time;
}

TEST(LevelHistory, FillsOnlyTheBarsBeforeTheStudyRan) {
  DayHistory day;
  day.hasLevels = true;
  day.dayEnd = 10000;
  std::string error;
  ASSERT_TRUE(ReadLevelHistory(kHistory, &day.levels, &error)) << error;
  const std::vector<Bar> bars = {At(500), At(1000), At(1500), At(2000), At(2500), At(kNoBarTime)};
  std::vector<std::vector<float>> values(16, std::vector<float>(bars.size(), 0));
  values[0][4] = 21900;  // the study wrote the call wall at bar 4
  FillFromHistory(bars, day, 4, &values);
  EXPECT_EQ(values[0], (std::vector<float>{0, 21800, 21800, 21850, 21900, 0})) << "call wall";
  // The second capture had no put wall: its bars keep what they had.
  EXPECT_EQ(values[1], (std::vector<float>{0, 21400, 21400, 0, 0, 0})) << "put wall";

  day.hasLevels = false;
  std::vector<std::vector<float>> untouched(16, std::vector<float>(bars.size(), 0));
  FillFromHistory(bars, day, 4, &untouched);
  EXPECT_EQ(untouched[0], std::vector<float>(bars.size(), 0)) << "no history, nothing filled";
}

}  // namespace
}  // namespace chart
