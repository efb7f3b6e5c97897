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

TEST_F(PanelClickTest, ACornerClickReportsTheNextAnchor) {
  settings.render.anchorIndex = 2;
  AddHitRect(&state, 0, 0, 100, 100, "corner", "");
  const PanelClickOutcome miss = Click(200, 200);
  EXPECT_FALSE(miss.changed);
  EXPECT_EQ(miss.anchor, 2);
  const PanelClickOutcome hit = Click(10, 10);
  EXPECT_TRUE(hit.changed);
  EXPECT_EQ(hit.anchor, 3);
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
