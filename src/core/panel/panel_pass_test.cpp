#include "panel/panel_pass.h"

#include "panel/panel_test_support.h"

namespace panel {
namespace {

class PanelPassTest : public PanelTest {
 protected:
  PanelPassTest() {
    context.apiSymbol = "NQ";
    context.statusLine = "Starting up...";
    context.researchLines = &research;
    settings.render.widthBars = 99;  // wide enough for the disclaimer on one line
  }
  void Pass() {
    sc.drawings.clear();
    drawnLines.clear();
    RunPanelPass(sc, settings, context, &state, drawnLines);
  }
  std::vector<std::string> research = {"Structure alert: regime flipped", "Research request in progress."};
  PanelContext context;
  PanelState state;
  std::vector<int> drawnLines;
};

TEST_F(PanelPassTest, ResearchLinesFollowTheContentOnTheContextTab) {
  const struct {
    int tab;
    std::vector<std::string> expected;
  } cases[] = {
      {1, {"Starting up...", "Descriptive positioning data - not investment advice."}},
      {2,
       {"Starting up...", "Descriptive positioning data - not investment advice.",
        "Structure alert: regime flipped", "Research request in progress."}},
  };
  for (const auto& c : cases) {
    state.tab = c.tab;
    Pass();
    EXPECT_EQ(DrawnTexts(71401, 71458), c.expected) << c.tab;
  }
  EXPECT_EQ(sc.drawings[71403].colour, (host::Rgb{170, 180, 198}));
}

TEST_F(PanelPassTest, ResearchLinesAreNotPartOfTheContentCap) {
  research.assign(10, "r");
  payload::LevelsSnapshot s;
  s.valid = true;
  s.profileRows.assign(70, payload::ProfileRow{21600, 1e8, 1, 50, ""});
  context.snapshot = &s;
  state.tab = 2;
  settings.render.lineSpacing = 0.5;
  sc.region = {0, 4000, 0, 1000};
  Pass();
  const std::vector<std::string> texts = DrawnTexts(71401, 71458);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "r"), 10) << texts.size();
}

TEST_F(PanelPassTest, WorkflowPresetPicksTheTabForOneRender) {
  context.researchLines = nullptr;
  const struct {
    int preset;
    int savedTab;
    const char* activeTab;
  } cases[] = {
      {0, 3, "[Strikes]"},
      {1, 3, "[Levels]"},
      {2, 4, "[Context]"},
      {3, 1, "[Context]"},
  };
  for (const auto& c : cases) {
    settings.workflowPreset = c.preset;
    state.tab = c.savedTab;
    Pass();
    std::vector<std::string> active;
    for (int n = 71480; n <= 71483; ++n) {
      if (sc.drawings[n].bold) active.push_back(sc.drawings[n].text);
    }
    EXPECT_EQ(active, std::vector<std::string>{c.activeTab}) << c.preset;
    EXPECT_EQ(state.tab, c.savedTab) << c.preset;
  }
}

}  // namespace
}  // namespace panel
