#include "panel/context_rows.h"

#include <cmath>

#include "panel/panel_test_support.h"
#include "panel/strike_rows.h"

namespace panel {
namespace {

TEST(AddRegimeRows, QuadrantFromGammaAndDeltaSigns) {
  const payload::OptionalLevel none{};
  const struct {
    payload::OptionalLevel netGex, netDex;
    std::vector<std::string> expected;
  } cases[] = {
      {{true, 0},
       {true, 0},
       {"  LONG-gamma - +delta flow (115,240,176) bold",
        "  Maximum dampening: hedging fades rallies AND buys dips. (170,180,198)"}},
      {{true, 5e8},
       {true, -1},
       {"  LONG-gamma - -delta flow (115,240,176) bold",
        "  Dampened but heavy: gamma fades moves, delta leans on rallies. (170,180,198)"}},
      {{true, -1},
       {true, 2e8},
       {"  SHORT-gamma - +delta flow (255,139,139) bold",
        "  Unstable upside: hedging amplifies moves, flow supports dips. (170,180,198)"}},
      {{true, -1},
       {true, -2e8},
       {"  SHORT-gamma - -delta flow (255,139,139) bold",
        "  Maximum acceleration: hedging sells weakness, buys strength. (170,180,198)"}},
      {{true, -1},
       none,
       {"  SHORT-gamma (255,139,139) bold",
        "  Delta flow not in this payload - gamma regime only. (170,180,198)"}},
      {none, {true, 1}, {}},
  };
  for (const auto& c : cases) {
    payload::LevelsSnapshot s;
    s.netGex = c.netGex;
    s.netDex = c.netDex;
    std::vector<PanelLine> lines;
    AddRegimeRows(s, &lines);
    EXPECT_EQ(Styled(lines), c.expected) << c.netGex.value << " " << c.netDex.value;
  }
}

TEST(AddForecastRows, HeaderNeedsDataButRowsNeedDirections) {
  host::FakeStudyHost sc;
  payload::LevelsSnapshot s;
  std::vector<PanelLine> lines;
  AddForecastRows(sc, s, &lines);
  EXPECT_TRUE(lines.empty());

  s.charmHedgeUsd = {true, -2.5e6};
  AddForecastRows(sc, s, &lines);
  EXPECT_EQ(Texts(lines), std::vector<std::string>{"- Forecast - dealer hedging (v4.1) -"});

  lines.clear();
  s.charmHedgeDirection = "sell";
  s.pressureZoneLower = {true, 21400};  // one bound alone is not a zone
  AddForecastRows(sc, s, &lines);
  EXPECT_EQ(Styled(lines), (std::vector<std::string>{"- Forecast - dealer hedging (v4.1) - (120,130,148)",
                                                     "  Charm sell -$2.5M into close (255,139,139)"}));
}

TEST(AddUnstableZoneRows, NeedsTriggerAndFlipWithinASmallShareOfSpot) {
  host::FakeStudyHost sc;
  const struct {
    double flip, trigger, spot;
    std::vector<std::string> expected;
  } cases[] = {
      {21480,
       21530,
       21500,
       {"  Unstable zone 21480.00 - 21530.00: VT ~ G-Flip corridor.",
        "  Elevated realized vol has been typical inside it."}},
      {21530,
       21480,
       21500,
       {"  Unstable zone 21480.00 - 21530.00: VT ~ G-Flip corridor.",
        "  Elevated realized vol has been typical inside it."}},
      {21480, 21530, 14000, {}},
      {21480, 21530, 0, {}},
      {21480, NAN, 21500, {}},
  };
  for (const auto& c : cases) {
    payload::LevelsSnapshot s;
    s.gammaFlip = {true, c.flip};
    s.volTrigger = {true, c.trigger};
    s.spot = {true, c.spot};
    std::vector<PanelLine> lines;
    AddUnstableZoneRows(sc, s, &lines);
    EXPECT_EQ(Texts(lines), c.expected) << c.flip << " " << c.trigger << " " << c.spot;
  }
}

TEST(AddTopStrikeRows, CompactShowsTheFiveHighestPricedRows) {
  host::FakeStudyHost sc;
  payload::LevelsSnapshot s;
  s.spot = {true, 21450};
  for (int i = 0; i < 12; ++i)
    s.profileRows.push_back({21700.0 - 50 * i, 1e8, i % 3 + 1, i * 9, i == 0 ? "CW" : ""});
  s.profileRows[4].percent = 1000000000;  // a malformed row cannot blow up the bar
  std::vector<PanelLine> lines;
  AddTopStrikeRows(sc, s, false, &lines);
  const std::vector<std::string> expected = {
      "  21700.00     [  0] #          CW (115,240,176)",
      "  21650.00     [  9] #          x2  (115,240,176)",
      "  21600.00     [ 18] #          x3  (115,240,176)",
      "  21550.00     [ 27] ##          (115,240,176)",
      "  21500.00     [1000000000] ########## x2  (115,240,176)",
  };
  EXPECT_EQ(Styled(lines), expected);
  lines.clear();
  AddTopStrikeRows(sc, s, true, &lines);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(Styled({lines[6]}), std::vector<std::string>{"  21400.00     [ 54] #####       (255,139,139)"});
}

}  // namespace
}  // namespace panel
