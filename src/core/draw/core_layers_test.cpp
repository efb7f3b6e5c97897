#include <gtest/gtest.h>

#include "draw/draw_test_support.h"

namespace draw {
namespace {

using Lines = std::vector<std::string>;

TEST_F(DrawTest, CoreAndFocusLinesFollowTheLineInputsAndTakeNumbersAsDrawn) {
  payload::LevelsSnapshot s = CoreSnapshot();
  s.focus[0] = {true, 5040, "Pivot", "F1", "high"};
  s.focus[2] = {true, 4960, "Magnet", "F3", ""};
  settings.lineWidth = 2;
  Pass(s);
  EXPECT_EQ(Rendered(71000, 71099), (Lines{
                                        "71000 line 5100 'CW - Call Wall' sg0 s0 w2 scale",
                                        "71001 line 4900 'PW - Put Wall' sg1 s0 w2 scale",
                                        "71002 line 5010 'GF - Gamma Flip' sg2 s1 w2 scale",
                                        "71003 line 4990 'VT/HVL - Vol Trigger' sg3 s2 w2 scale",
                                        "71004 line 5040 'F1 - Pivot - high' sg8 s0 w2 scale",
                                        "71005 line 4960 'F3 - Magnet' sg10 s0 w2 scale",
                                    }));
}

TEST_F(DrawTest, MaxPainOffRenumbersTheOiAndZeroDexLinesAndRemovesTheLast) {
  const payload::LevelsSnapshot s = CoreSnapshot();
  settings.maxPain = settings.oiWalls = settings.zeroDex = true;
  Pass(s);
  EXPECT_EQ(Rendered(71004, 71010), (Lines{"71004 line 5050 'MP - Max Pain' sg4 s1 w1 scale",
                                           "71005 line 5200 'Call OI Wall' sg5 s2 w1 scale",
                                           "71006 line 4800 'Put OI Wall' sg6 s2 w1 scale",
                                           "71007 line 5025 '0DEX - Zero DEX' sg7 s1 w1 scale"}));
  settings.maxPain = false;
  Pass(s);
  EXPECT_EQ(Rendered(71004, 71010), (Lines{"71004 line 5200 'Call OI Wall' sg5 s2 w1 scale",
                                           "71005 line 4800 'Put OI Wall' sg6 s2 w1 scale",
                                           "71006 line 5025 '0DEX - Zero DEX' sg7 s1 w1 scale"}));
}

TEST_F(DrawTest, ZonesDrawLabelledHighsUnlabelledLowsInPairsAndFixedShades) {
  payload::LevelsSnapshot s = CoreSnapshot();
  s.upsideCluster = {true, 5110, 5120, "service label"};
  s.downsideCluster = {true, 4880, 4895, ""};
  s.densityCount = 1;
  s.densityPrice[0] = 4880;  // a touch level at a lower bound must not show: that line has no label
  s.densityTouchPct[0] = 30;
  Pass(s);
  EXPECT_EQ(Rendered(71100, 71199), (Lines{
                                        "71100 line 5120 'UCL - Resistance' sg12 s2 w1",
                                        "71101 line 5110 '' sg12 s2 w1",
                                        "71102 line 4895 'DCL - Support' sg13 s2 w1",
                                        "71103 line 4880 '' sg13 s2 w1",
                                        "71130 rect 100-199 5120..5110 sg12 t85",
                                        "71132 rect 100-199 4895..4880 sg13 t85",
                                    }));
  settings.shadeZones = false;
  Pass(s);
  EXPECT_EQ(Rendered(71130, 71132), Lines{}) << "shading off";
}

TEST_F(DrawTest, TopStrikesShowPercentMergesAndTag) {
  payload::LevelsSnapshot s = CoreSnapshot();
  s.profileRows = {{5100, 9e8, 3, 100, "CW"}, {5050, 4e8, 1, 40, ""}, {5010, 5e8, 2, 55, "Flip"}};
  settings.topStrikes = true;
  Pass(s);
  EXPECT_EQ(Rendered(71200, 71299),
            (Lines{"71200 line 5100 '[100] x3 CW' sg14 s2 w1", "71201 line 5050 '[40]' sg14 s2 w1",
                   "71202 line 5010 '[55] x2 Flip' sg14 s2 w1"}));
  s.profileRows.resize(60, {4000, 1, 1, 1, ""});
  Pass(s);
  EXPECT_EQ(Rendered(71200, 71399).size(), 40u) << "never past 71239, below the panel's numbers";
}

}  // namespace
}  // namespace draw
