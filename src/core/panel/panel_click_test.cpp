#include "panel/panel_click.h"

#include "panel/panel_layout.h"
#include "panel/panel_test_support.h"

namespace panel {
namespace {

class PanelClickTest : public PanelTest {
 protected:
  PanelClickOutcome Click(int x, int y, int code = host::kPointerPress) {
    return HandlePanelClick(settings, {code, x, y}, &state);
  }
  PanelState state;
};

// The outcome starts from the current anchor; only the title's press moves it (ApplyPanelToken).
TEST_F(PanelClickTest, LastAddedRectangleWinsAndTheAnchorStays) {
  settings.render.anchorIndex = 2;
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
    EXPECT_EQ(Click(c.x, c.y).anchor, 2) << c.x << "," << c.y;
    EXPECT_EQ(state.tab, c.tab) << c.x << "," << c.y;
  }
}

TEST_F(PanelClickTest, IgnoredClicksChangeAndSaveNothing) {
  AddHitRect(&state, 0, 0, 100, 100, "hide", "");
  EXPECT_FALSE(Click(10, 10, host::kPointerOther).changed);  // not a press
  settings.show = false;
  EXPECT_FALSE(Click(10, 10).changed);  // panel switched off
  EXPECT_FALSE(state.hidden);
}

}  // namespace
}  // namespace panel
