#include "palette/line_plan.h"

#include <gtest/gtest.h>

namespace palette {
namespace {

// Numbers that saved charts and the tools around the study know; a change to the table that
// moves one of them is a change of identity, not a refactoring.
TEST(LinePlanTest, WellKnownNumbersStayPut) {
  const struct {
    LineBlock block;
    int first;
    int last;
  } cases[] = {
      {kLbCoreLevels, 71000, 71010}, {kLbZoneShades, 71130, 71132},   {kLbTopStrikes, 71200, 71239},
      {kLbPanelTitle, 71400, 71400}, {kLbPanelContent, 71401, 71452}, {kLbPanelBackground, 71459, 71459},
      {kLbPanelTabs, 71480, 71483},  {kLbVannaFlip, 71508, 71508},    {kLbGexHeatmap, 71600, 71639},
      {kLbVegaMap, 71800, 71839},    {kLbGammaProfile, 71900, 71979}, {kLbIvPutWall, 72101, 72101},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LineNumber(c.block), c.first) << kLinePlan[c.block].purpose;
    EXPECT_EQ(LineNumber(c.block, LineCount(c.block) - 1), c.last) << kLinePlan[c.block].purpose;
  }
}

TEST(LinePlanTest, EveryNumberFindsTheBlockThatHoldsIt) {
  const struct {
    int number;
    LineBlock block;
  } cases[] = {
      {70999, kLineBlockCount}, {71000, kLbCoreLevels},   {71010, kLbCoreLevels},
      {71011, kLineBlockCount}, {71458, kLineBlockCount}, {71459, kLbPanelBackground},
      {71562, kLbIvLowerLine},  {71563, kLineBlockCount}, {71979, kLbGammaProfile},
      {71980, kLineBlockCount}, {72101, kLbIvPutWall},    {72102, kLineBlockCount},
  };
  for (const auto& c : cases) EXPECT_EQ(LineBlockOf(c.number), c.block) << c.number;
}

}  // namespace
}  // namespace palette
