#include "panel/panel_state.h"

#include "panel/panel_test_support.h"

namespace panel {
namespace {

PanelState StateFrom(std::string_view text) {
  PanelState state;
  ReadPanelStateText(text, &state);
  return state;
}

TEST(PanelStateText, ReadsPairsAndIgnoresWhatItDoesNotKnow) {
  PanelState simpleOn;
  simpleOn.simple = true;
  simpleOn.folded = true;
  const struct {
    const char* text;
    PanelState start;
    const char* expected;
  } cases[] = {
      {"", {}, "t1c0h0s0l0z0C0Z0"},
      {"t5", {}, "t1c0h0s0l0z0C0Z0"},
      {"Unset", simpleOn, "t1c1h0s0l0z0C0Z0"},  // only "se" matters: simple off
      {"c2h1", {}, "t1c0h1s0l0z0C0Z0"},         // any value but "1" is false
      {"x1Z1q", {}, "t1c0h0s0l0z0C0Z1"},
      {"1t2t", {}, "t1c0h0s0l0z0C0Z0"},  // pairs start at 0: ("1t", "2t")
      {"Z1C1z1", {}, "t1c0h0s0l0z1C1Z1"},
      // Each flag is on in a different set of these three, so no two flags can trade letters.
      {"t2c1h0s1l0z1C0Z1", {}, "t2c1h0s1l0z1C0Z1"},
      {"t3c0h1s1l0z0C1Z1", {}, "t3c0h1s1l0z0C1Z1"},
      {"t4c0h0s0l1z1C1Z1", {}, "t4c0h0s0l1z1C1Z1"},
  };
  for (const auto& c : cases) {
    PanelState state = c.start;
    ReadPanelStateText(c.text, &state);
    EXPECT_EQ(FormatPanelState(state), c.expected) << c.text;
  }
}

TEST(ApplyPanelToken, EachTokenChangesItsField) {
  const struct {
    const char* token;
    const char* value;
    const char* start;
    int anchor;
    bool known;
    const char* expected;
    int expectedAnchor;
  } cases[] = {
      {"tab", "4x", "t1c0h0s0l0z0C0Z0", 0, true, "t4c0h0s0l0z0C0Z0", 0},
      {"tab", " +2", "t1c0h0s0l0z0C0Z0", 0, true, "t2c0h0s0l0z0C0Z0", 0},
      {"tab", "5", "t2c0h0s0l0z0C0Z0", 0, true, "t2c0h0s0l0z0C0Z0", 0},
      {"tab", "abc", "t2c0h0s0l0z0C0Z0", 0, true, "t2c0h0s0l0z0C0Z0", 0},
      {"tab", "99999999999999999999", "t2c0h0s0l0z0C0Z0", 0, true, "t2c0h0s0l0z0C0Z0", 0},
      {"collapse", "", "t1c0h0s0l0z0C0Z0", 0, true, "t1c1h0s0l0z0C0Z0", 0},
      {"hide", "", "t1c0h1s0l0z0C0Z0", 0, true, "t1c0h1s0l0z0C0Z0", 0},
      {"show", "", "t1c0h1s0l0z0C0Z0", 0, true, "t1c0h0s0l0z0C0Z0", 0},
      {"simple", "", "t1c0h0s0l0z0C0Z0", 0, true, "t1c0h0s1l0z0C0Z0", 0},
      {"lines", "", "t1c0h0s0l1z0C0Z0", 0, true, "t1c0h0s0l0z0C0Z0", 0},
      {"zones", "", "t1c0h0s0l0z0C0Z0", 0, true, "t1c0h0s0l0z1C0Z0", 0},
      {"group", "core", "t1c0h0s0l0z0C0Z0", 0, true, "t1c0h0s0l0z0C1Z0", 0},
      {"group", "zones", "t1c0h0s0l0z0C0Z1", 0, true, "t1c0h0s0l0z0C0Z0", 0},
      {"group", "Core", "t1c0h0s0l0z0C0Z0", 0, true, "t1c0h0s0l0z0C0Z0", 0},
      {"corner", "", "t1c0h0s0l0z0C0Z0", 0, true, "t1c0h0s0l0z0C0Z0", 1},
      {"corner", "", "t1c0h0s0l0z0C0Z0", 3, true, "t1c0h0s0l0z0C0Z0", 0},
      {"corner", "", "t1c0h0s0l0z0C0Z0", 6, true, "t1c0h0s0l0z0C0Z0", 3},
      {"corner", "", "t1c0h0s0l0z0C0Z0", -6, true, "t1c0h0s0l0z0C0Z0", 3},
      {"Tab", "2", "t1c0h0s0l0z0C0Z0", 0, false, "t1c0h0s0l0z0C0Z0", 0},
  };
  for (const auto& c : cases) {
    PanelState state = StateFrom(c.start);
    int anchor = c.anchor;
    EXPECT_EQ(ApplyPanelToken(&state, c.token, c.value, &anchor), c.known) << c.token << " " << c.value;
    EXPECT_EQ(FormatPanelState(state), c.expected) << c.token << " " << c.value;
    EXPECT_EQ(anchor, c.expectedAnchor) << c.token << " " << c.anchor;
  }
}

}  // namespace
}  // namespace panel
