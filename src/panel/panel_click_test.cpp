#include "panel/panel_click.h"

#include "panel/panel_layout.h"
#include "panel/panel_pass.h"
#include "panel/panel_test_support.h"

namespace panel {
namespace {

class PanelClickTest : public PanelTest {
 protected:
  PanelClickTest() {
    snapshot.valid = true;
    snapshot.callWall = {true, 21600};
    context.snapshot = &snapshot;
    context.apiSymbol = "NQ";
  }
  void Render() {
    std::vector<int> drawnLines;
    RunPanelPass(sc, settings, context, &state, drawnLines);
  }
  PanelClickOutcome Click(int x, int y, int code = host::kPointerPress) {
    return HandlePanelClick(settings, {code, x, y}, &state);
  }
  payload::LevelsSnapshot snapshot;
  PanelContext context;
  PanelState state;
};

// Rectangles of the default top-left panel (see the layout test): title at y 18..42, control
// row 43..67 (Fold 148..188, Hide 188..228), tab row 68..92 (Fear 164..204), the "- Levels -"
// header at 93..117.
TEST_F(PanelClickTest, EachTargetAppliesItsToken) {
  const struct {
    const char* name;
    const char* start;
    int anchor;
    int x, y;
    bool changed;
    int expectedAnchor;
    const char* after;  // the state text to save; empty when nothing changed
  } cases[] = {
      {"title", "t1", 0, 10, 30, true, 1, "t1c0h0s0l0z0C0Z0"},
      {"fold", "t1", 0, 150, 55, true, 0, "t1c1h0s0l0z0C0Z0"},
      {"hide", "t1", 0, 228, 67, true, 0, "t1c0h1s0l0z0C0Z0"},
      {"fear tab", "t1", 0, 170, 80, true, 0, "t4c0h0s0l0z0C0Z0"},
      {"core header", "t1", 0, 10, 105, true, 0, "t1c0h0s0l0z0C1Z0"},
      {"core header again", "t1C1", 0, 10, 105, true, 0, "t1c0h0s0l0z0C0Z0"},
      {"show label", "t1h1", 0, 10, 30, true, 0, "t1c0h0s0l0z0C0Z0"},
      {"miss", "t1", 0, 900, 900, false, 0, ""},
      {"beside the tab row", "t1", 0, 229, 68, false, 0, ""},
  };
  for (const auto& c : cases) {
    state = PanelState{};
    ReadPanelStateText(c.start, &state);
    settings.render.anchorIndex = c.anchor;
    Render();
    const PanelClickOutcome outcome = Click(c.x, c.y);
    EXPECT_EQ(outcome.changed, c.changed) << c.name;
    EXPECT_EQ(outcome.anchor, c.expectedAnchor) << c.name;
    EXPECT_EQ(outcome.changed ? FormatPanelState(state) : "", c.after) << c.name;
  }
}

TEST_F(PanelClickTest, LastAddedRectangleWins) {
  AddHitRect(&state, 0, 0, 100, 100, "tab", "2");
  AddHitRect(&state, 50, 50, 150, 150, "tab", "3");
  AddHitRect(&state, 0, 0, 10, 0, "hide", "");  // empty: never added
  ASSERT_EQ(state.hitRects.size(), 2u);
  const struct {
    int x, y;
    int tab;
  } cases[] = {{10, 10, 2}, {50, 50, 3}, {100, 100, 3}, {120, 120, 3}, {0, 0, 2}, {150, 49, 1}};
  for (const auto& c : cases) {
    state.tab = 1;
    Click(c.x, c.y);
    EXPECT_EQ(state.tab, c.tab) << c.x << "," << c.y;
  }
}

TEST_F(PanelClickTest, IgnoredClicksChangeAndSaveNothing) {
  AddHitRect(&state, 0, 0, 100, 100, "bogus", "");
  EXPECT_FALSE(Click(10, 10).changed);  // unknown token
  AddHitRect(&state, 0, 0, 100, 100, "hide", "");
  EXPECT_FALSE(Click(10, 10, host::kPointerOther).changed);  // not a press
  settings.show = false;
  EXPECT_FALSE(Click(10, 10).changed);  // panel switched off
  EXPECT_FALSE(state.hidden);
}

}  // namespace
}  // namespace panel
