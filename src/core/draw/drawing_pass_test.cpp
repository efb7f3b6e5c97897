#include "draw/drawing_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "draw/draw_test_support.h"
#include "palette/line_plan_test_support.h"

namespace draw {
namespace {

// A panel stand-in: one text drawing at the panel's first number.
std::function<void(std::vector<int>&)> PanelHook(host::FakeStudyHost& sc, int* calls) {
  return [&sc, calls](std::vector<int>& drawn) {
    ++*calls;
    host::DrawingRequest r;
    r.kind = host::DrawingKind::kText;
    r.lineNumber = 71400;
    r.text = "ORDINEL";
    sc.SubmitDrawing(r);
    drawn.push_back(71400);
  };
}

TEST_F(DrawTest, UnusableMapRemovesEveryChartDrawingWhileThePanelStays) {
  const struct {
    const char* name;
    bool valid;
    bool guard;
    PanelGates gates;
  } cases[] = {
      {"snapshot no longer valid", false, false, {}},
      {"scale guard tripped", true, true, {}},
      {"lines button off", true, false, {.linesHidden = true}},
  };
  for (const auto& c : cases) {
    sc.drawings.clear();
    lines.previous.clear();
    settings.showPanel = true;
    int calls = 0;
    payload::LevelsSnapshot s = CoreSnapshot();
    s.upsideCluster = {true, 5110, 5120, ""};
    Pass(s, false, {}, PanelHook(sc, &calls));
    ASSERT_EQ(sc.drawings.size(), 8u) << c.name;
    s.valid = c.valid;
    Pass(s, c.guard, c.gates, PanelHook(sc, &calls));
    EXPECT_EQ(Rendered(), std::vector<std::string>{"71400 other 'ORDINEL'"}) << c.name;
    EXPECT_EQ(previous, std::vector<int>{71400}) << c.name;
    EXPECT_EQ(calls, 2) << c.name;
  }
}

// An allocation failure part-way through a pass must not leave drawings nobody removes.
TEST_F(DrawTest, DrawingsOfAPassCutShortAreRemovedByTheNextPassWithThePanelOff) {
  int calls = 0;
  const auto panel = PanelHook(sc, &calls);
  settings.showPanel = true;
  EXPECT_THROW(Pass(CoreSnapshot(), false, {},
                    [&panel](std::vector<int>& drawn) {
                      panel(drawn);
                      throw std::bad_alloc();
                    }),
               std::bad_alloc);
  settings.showPanel = false;  // a panel switched off is not asked to draw
  Pass(CoreSnapshot(), false, {}, panel);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sc.drawings.count(71400), 0u) << "the panel text of the interrupted pass";
  EXPECT_EQ(previous, (std::vector<int>{71000, 71001, 71002, 71003}));
}

bool InCoreMapOrModelZeroGamma(int n) {
  switch (palette::LineBlockOf(n)) {
    case palette::kLbCoreLevels:
    case palette::kLbZoneBounds:
    case palette::kLbZoneShades:
    case palette::kLbTopStrikes:
    case palette::kLbModelZeroGamma:
    case palette::kLbModelZeroGammaBand: return true;
    default: return false;
  }
}

TEST_F(DrawTest, SimpleAndZonesSwitchesKeepOnlyTheCoreMapAndTheModelZeroGamma) {
  EnableEveryOptionalLayer();
  for (int i = 0; i < 200; ++i) sc.closes[i] = 4950 + i % 100;
  Pass(ExtendedSnapshot());
  const std::vector<int> everything = previous;
  std::vector<int> coreOnly;
  std::copy_if(everything.begin(), everything.end(), std::back_inserter(coreOnly), InCoreMapOrModelZeroGamma);
  ASSERT_GT(everything.size(), coreOnly.size() + 40) << "every overlay kind drew something";
  for (PanelGates gates : {PanelGates{.simple = true}, PanelGates{.zonesHidden = true}}) {
    Pass(ExtendedSnapshot(), false, gates);
    EXPECT_EQ(previous, coreOnly) << "simple " << gates.simple;
    EXPECT_EQ(sc.drawings.size(), coreOnly.size()) << "simple " << gates.simple;
  }
}

// Adds to the extended snapshot whatever brings every layer to its most: all levels present,
// every list longer than any layer draws.
payload::LevelsSnapshot Fullest(payload::LevelsSnapshot s) {
  s.callWall = {true, 5100};
  s.putWall = {true, 4900};
  s.maxPain = {true, 5050};
  s.callOiWall = {true, 5200};
  s.putOiWall = {true, 4800};
  s.zeroDex = {true, 5025};
  for (payload::FocusLevel& f : s.focus) f = {true, 5040, "Pivot", "F", ""};
  s.upsideCluster = {true, 5110, 5120, ""};
  s.downsideCluster = {true, 4880, 4895, ""};
  s.ndxPutWall = {true, 17800};
  s.profileRows.assign(45, {5100, 1, 1, 50, ""});
  s.vannaWallCount = payload::kMaxVannaWalls;
  s.charmZoneCount = payload::kMaxCharmZones;
  for (payload::ZoneBand& z : s.charmZones) z = {true, 4960, 4970, ""};
  s.vegaWallCount = payload::kMaxVegaWalls;
  s.hybridVolTrigger = {true, 5005};
  s.rthOpen = {true, 5001};
  s.londonRange = {true, 4980, 5000, ""};
  s.vwapBandPlus = {payload::OptionalLevel{true, 5012}, {true, 5022}, {true, 5032}};
  s.vwapBandMinus = {payload::OptionalLevel{true, 4992}, {true, 4982}, {true, 4972}};
  s.putExtenderCount = payload::kMaxExtendersPerSide;
  std::vector<payload::HeatCell> cells;
  for (int i = 0; i < 45; ++i) cells.push_back({4950.0 + i, 4951.0 + i, 0.5});
  s.gexCells = s.charmCells = s.deltaCells = s.vannaCells = s.vegaCells = cells;
  s.profilePoints.clear();
  for (int i = 0; i < 90; ++i) s.profilePoints.push_back({4955.0 + i, 1.0 + i});
  return s;
}

// The counts of the line plan are what the layers draw at most, and no layer strays outside its
// block: a spill into a neighbour's numbers would show as a number drawn twice.
TEST_F(DrawTest, FullestPassFillsEveryChartBlockAndNothingElse) {
  EnableEveryOptionalLayer();
  settings.maxPain = settings.oiWalls = settings.zeroDex = true;
  settings.wallExtenders = 3;
  for (int i = 0; i < 200; ++i) sc.closes[i] = 4950 + i % 100;
  Pass(Fullest(ExtendedSnapshot()));
  EXPECT_EQ(palette::FullestPassFaults(previous, palette::kChartLayer), std::vector<std::string>{});
}

}  // namespace
}  // namespace draw
