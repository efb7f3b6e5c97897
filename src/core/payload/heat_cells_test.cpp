#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "payload/payload_test_support.h"
#include "payload/section_readers.h"

namespace payload {
namespace {

using testing::Answer;
using testing::ParseAnswer;

TEST(HeatCells, EachStrikeOwnsTheBandHalfwayToItsNeighbours) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    std::vector<StrikeValue> pairs;
    std::vector<HeatCell> cells;
  } cases[] = {
      {"three strikes", {{10, 1}, {20, -2}, {40, 4}}, {{5, 15, 0.25}, {15, 30, -0.5}, {30, 50, 1}}},
      {"unsorted input", {{40, 4}, {10, 1}, {20, -2}}, {{5, 15, 0.25}, {15, 30, -0.5}, {30, 50, 1}}},
      {"duplicate strike has an empty band", {{10, 1}, {10, 2}, {20, 4}}, {{10, 15, 0.5}, {15, 25, 1}}},
      {"two pairs", {{10, 1}, {20, 2}}, {}},
      {"all zero", {{10, 0}, {20, 0}, {30, 0}}, {}},
      {"non-finite pairs are dropped first",
       {{10, 1}, {20, inf}, {30, 2}, {40, 4}},
       {{0, 20, 0.25}, {20, 35, 0.5}, {35, 45, 1}}},
  };
  for (const auto& c : cases) {
    std::vector<HeatCell> cells = {{1, 2, 3}};
    BuildHeatCells(c.pairs, &cells);
    EXPECT_EQ(cells, c.cells) << c.name;
  }
}

TEST(HeatCells, GexTopoSumsTheNumberCellsOfEachRow) {
  const LevelsSnapshot s = ParseAnswer(Answer(R"({"gex_topo": {"rows": [
      {"strike": 30, "cells": [1, "2", null, 3]},
      {"strike": 10, "cells": []},
      {"strike": 20, "cells": [-8, 1e999]},
      {"strike": 25},
      {"strike": "x", "cells": [5]},
      {"strike": 40, "cells": [1e308, 1e308]}]}})"));
  EXPECT_EQ(s.gexCells, (std::vector<HeatCell>{{5, 15, 0}, {15, 25, -1}, {25, 35, 0.5}}));
}

TEST(HeatCells, CharmByStrikeNeedsStrikeAndCharm) {
  const LevelsSnapshot s = ParseAnswer(Answer(R"({"charm_by_strike": [
      {"strike": 10, "charm": -1}, {"strike": 20}, {"strike": 30, "charm": "2"},
      {"strike": 40, "charm": 4}, [50, 5]]})"));
  EXPECT_EQ(s.charmCells, (std::vector<HeatCell>{{0, 20, -0.25}, {20, 35, 0.5}, {35, 45, 1}}));
}

TEST(StrikeGreeks, PairsJsonNumbersUpToTheShorterArray) {
  const LevelsSnapshot s = ParseAnswer(Answer(R"({
      "strike_greeks": {"strikes": [10, 20, 30, 40, 50, 60, 70, 80, 90, 100],
                        "vega": [1, 1, "1", 1, 1, 1, 2],
                        "delta": [-1, -2],
                        "vanna": 5},
      "label_exposures": {"strikes": [30, 10, "20", 40], "gamma": [3, 1, 2, null, 9],
                          "delta": [1e999, 5]}})"));
  const std::vector<HeatCell> vega = {{5, 15, 0.5},  {15, 30, 0.5}, {30, 45, 0.5},
                                      {45, 55, 0.5}, {55, 65, 0.5}, {65, 75, 1}};
  EXPECT_EQ(s.vegaCells, vega);
  EXPECT_TRUE(s.deltaCells.empty());
  EXPECT_TRUE(s.vannaCells.empty());
  EXPECT_EQ(s.gammaExposures, (std::vector<StrikeValue>{{30, 3}, {10, 1}}));
  EXPECT_EQ(s.deltaExposures, (std::vector<StrikeValue>{{10, 5}}));
}

}  // namespace
}  // namespace payload
