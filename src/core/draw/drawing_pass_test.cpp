#include "draw/drawing_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "draw/draw_test_support.h"

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
  return (n >= 71000 && n <= 71010) || (n >= 71100 && n <= 71132) || (n >= 71200 && n <= 71239) ||
         n == 71851 || n == 71852;
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

}  // namespace
}  // namespace draw
