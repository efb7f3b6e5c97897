#include "panel/panel_layout.h"

#include <climits>
#include <cmath>

#include "palette/line_plan_test_support.h"
#include "panel/panel_selection.h"
#include "panel/panel_test_support.h"

namespace panel {
namespace {

PanelLine Line(const char* text, int tab = kTabAll, int kind = kKindPlain, const char* group = "") {
  PanelLine line = MakeLine(text, kSecondaryColour);
  line.tab = tab;
  line.kind = kind;
  line.group = group;
  return line;
}

std::vector<PanelLine> NumberedLines(int count) {
  std::vector<PanelLine> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(MakeLine(text::Format("line %d", i), kSecondaryColour));
  return lines;
}

std::string DescribeRect(const PanelHitRect& r) {
  return text::Format("%d,%d-%d,%d %s=%s", r.left, r.top, r.right, r.bottom, r.token, r.value);
}

class PanelLayoutTest : public PanelTest {
 protected:
  void Render(const std::vector<PanelLine>& lines, RenderSettings settings = {}) {
    settings.lineSpacing = lineSpacing;
    RenderPanel(sc, &state, "NQ", lines, settings, drawnLines);
  }
  std::vector<std::string> Rects() const {
    std::vector<std::string> out;
    for (const PanelHitRect& r : state.hitRects) out.push_back(DescribeRect(r));
    return out;
  }
  double lineSpacing = 2.5;
  PanelState state;
  std::vector<int> drawnLines;
};

TEST_F(PanelLayoutTest, GeometryClampsAndBoundsByPixels) {
  const struct {
    const char* name;
    host::RegionBounds region;
    RenderSettings settings;
    const char* expected;  // "first-last anchor H sp cols"
  } cases[] = {
      {"worked example",
       {20, 520, 0, 1000},
       {.fontSize = 9, .lineSpacing = 2.4},
       "100-155 @100 H500 sp3.68 c43"},
      {"tall region",
       {0, 3000, 0, 1000},
       {.fontSize = 6, .lineSpacing = 0.1},
       "100-155 @100 H3000 sp0.50 c64"},
      {"spacing cap", {0, 1000, 0, 1000}, {.lineSpacing = 40}, "100-155 @100 H1000 sp12.00 c43"},
      {"nan spacing", {0, 1000, 0, 1000}, {.lineSpacing = NAN}, "100-155 @100 H1000 sp2.40 c43"},
      {"right side", {0, 1000, 0, 1000}, {.anchorIndex = 3, .widthBars = 500}, "0-199 @199 H1000 sp2.40 c64"},
      {"narrow",
       {0, 1000, 0, 1000},
       {.anchorIndex = 1, .widthBars = 2, .wrapColumns = 5},
       "189-199 @199 H1000 sp2.40 c12"},  // 6 fit, but no fewer than the input's minimum
      {"font cap", {0, 1000, 0, 1000}, {.fontSize = 99}, "100-155 @100 H1000 sp4.24 c16"},
      {"flat region", {0, 20, 0, 1000}, {.fontSize = 24, .lineSpacing = 3}, "100-155 @100 H0 sp3.00 c64"},
      {"thin region", {0, 1000, 0, 20}, {.wrapColumns = 500}, "100-155 @100 H0 sp2.40 c120"},
  };
  for (const auto& c : cases) {
    sc.region = c.region;
    if (std::string(c.name) == "right side")
      sc.visible = {-5, 199};
    else
      sc.visible = {100, 199};
    const PanelGeometry g = ComputePanelGeometry(sc, c.settings);
    EXPECT_EQ(text::Format("%d-%d @%d H%d sp%.2f c%d", g.firstBar, g.lastBar, g.anchorBar, g.regionHeight,
                           g.spacing, g.wrapColumns),
              c.expected)
        << c.name;
  }
}

TEST(LineBudget, CapsAtFiftyFiveRows) {
  const struct {
    double spacing;
    int headerRows;
    int expected;
  } cases[] = {{3.68, 3, 22}, {0.5, 3, 52}, {0.5, 2, 53}, {12, 3, 4}, {200, 3, 0}, {NAN, 3, 52}};
  for (const auto& c : cases) EXPECT_EQ(LineBudget(c.spacing, c.headerRows), c.expected) << c.spacing;
}

TEST(ApplyLineBudget, KeepsRoomForTheHiddenLinesNote) {
  const struct {
    int lines;
    int maxLines;
    std::vector<std::string> expected;
  } cases[] = {
      {3, 3, {"line 1", "line 2", "line 3"}},
      {4, 3, {"line 1", "line 2", "+2 lines hidden; widen/fold/switch tab"}},
      {3, 1, {"+3 lines hidden; widen/fold/switch tab"}},
      {3, 0, {}},
      {0, 0, {}},
  };
  for (const auto& c : cases) {
    std::vector<PanelLine> lines = NumberedLines(c.lines);
    ApplyLineBudget(&lines, c.maxLines);
    EXPECT_EQ(Texts(lines), c.expected) << c.lines << " in " << c.maxLines;
    if (c.lines > c.maxLines && c.maxLines > 0) {
      EXPECT_EQ(lines.back().colour, kHiddenLinesColour) << c.lines;
    }
  }
}

TEST(SelectPanelLines, FollowsTabSimpleModeAndFoldedGroups) {
  const std::vector<PanelLine> lines = {Line("title", kTabAll, kKindNeverShown),
                                        Line("status"),
                                        Line("- Levels -", kTabLevels, kKindGroupHeader, kGroupCore),
                                        Line("CW", kTabLevels, kKindPlain, kGroupCore),
                                        Line("- Zones -", kTabLevels, kKindGroupHeader, kGroupZones),
                                        Line("BZ", kTabLevels, kKindPlain, kGroupZones),
                                        Line("ctx", kTabContext),
                                        Line("fear", kTabFear)};
  const struct {
    const char* state;
    std::vector<std::string> expected;
  } cases[] = {
      {"t1", {"status", "- Levels -", "CW", "- Zones -", "BZ"}},
      {"t1C1", {"status", "- Levels -", "- Zones -", "BZ"}},
      {"t1C1Z1", {"status", "- Levels -", "- Zones -"}},
      {"t1s1", {"status", "- Levels -", "CW"}},
      {"t2C1", {"status", "ctx"}},
      {"t4s1", {"status", "fear"}},
      {"t3", {"status"}},
  };
  for (const auto& c : cases) {
    PanelState state;
    ReadPanelStateText(c.state, &state);
    EXPECT_EQ(Texts(SelectPanelLines(lines, state)), c.expected) << c.state;
  }
}

TEST_F(PanelLayoutTest, TopLeftPanelDrawsEveryRowAndItsRectangles) {
  Render({Line("- Levels -", kTabLevels, kKindGroupHeader, kGroupCore),
          Line("  CW", kTabLevels, 0, kGroupCore), Line("never", kTabAll, kKindNeverShown)});
  const std::vector<std::string> expected = {
      "71400 @100 h97.00 L 'ORDINEL  NQ' (105,194,255) bold",
      "71401 @100 h89.50 L '- - Levels -' (170,180,198)",
      "71402 @100 h87.00 L '  CW' (170,180,198)",
      "71459 rect 100-155 h98.50..85.50 t15",
      "71460 @100 h94.50 L ' Simple ' (170,180,198)",
      "71461 @106 h94.50 L '[Lines]' (105,194,255) bold",
      "71462 @112 h94.50 L '[Zones]' (105,194,255) bold",
      "71463 @118 h94.50 L ' Fold ' (170,180,198)",
      "71464 @123 h94.50 L ' Hide ' (170,180,198)",
      "71480 @100 h92.00 L '[Levels]' (105,194,255) bold",
      "71481 @106 h92.00 L ' Context ' (170,180,198)",
      "71482 @113 h92.00 L ' Strikes ' (170,180,198)",
      "71483 @120 h92.00 L ' Fear ' (170,180,198)",
  };
  EXPECT_EQ(Drawn(), expected);
  EXPECT_EQ(drawnLines, (std::vector<int>{71459, 71400, 71460, 71461, 71462, 71463, 71464, 71480, 71481,
                                          71482, 71483, 71401, 71402}));
  const std::vector<std::string> rects = {
      "4,18-82,42 corner=",      "4,43-52,67 simple=",  "52,43-100,67 lines=",    "100,43-148,67 zones=",
      "148,43-188,67 collapse=", "188,43-228,67 hide=", "4,68-52,92 tab=1",       "52,68-108,92 tab=2",
      "108,68-164,92 tab=3",     "164,68-204,92 tab=4", "4,93-88,117 group=core",
  };
  EXPECT_EQ(Rects(), rects);
  EXPECT_EQ(sc.drawings[71400].fontFace, "Consolas");
  EXPECT_TRUE(sc.drawings[71400].relativeVertical);
}

TEST_F(PanelLayoutTest, AnchorsPlaceTitleRowsAndBackground) {
  const struct {
    int anchor;
    std::vector<std::string> expected;  // title, first line, background, first control
  } cases[] = {
      {2,
       {"71400 @100 h15.50 L 'ORDINEL  NQ' (105,194,255) bold", "71401 @100 h8.00 L 'a' (170,180,198)",
        "71459 rect 100-155 h17.00..4.00 t15", "71460 @100 h13.00 L ' Simple ' (170,180,198)"}},
      {1,
       {"71400 @199 h97.00 R 'ORDINEL  NQ' (105,194,255) bold", "71401 @199 h89.50 R 'a' (170,180,198)",
        "71459 rect 144-199 h98.50..85.50 t15", "71460 @171 h94.50 L ' Simple ' (170,180,198)"}},
  };  // anchor 3, right and bottom at once, is the hidden label's case below
  for (const auto& c : cases) {
    Render({Line("a"), Line("b")}, {.anchorIndex = c.anchor});
    const std::vector<std::string> got = {
        DescribeDrawing(sc.drawings[71400]), DescribeDrawing(sc.drawings[71401]),
        DescribeDrawing(sc.drawings[71459]), DescribeDrawing(sc.drawings[71460])};
    EXPECT_EQ(got, c.expected) << c.anchor;
  }
  // On the right side the title's rectangle ends at the anchor bar.
  EXPECT_EQ(DescribeRect(state.hitRects.front()), "718,18-796,42 corner=");
}

TEST_F(PanelLayoutTest, FoldedPanelShowsTitleAndControlsOnly) {
  state.folded = true;
  state.simple = true;
  Render(NumberedLines(5));
  const std::vector<std::string> expected = {
      "71400 @100 h97.00 L 'ORDINEL  NQ   SIMPLE' (105,194,255) bold",
      "71459 rect 100-155 h98.50..93.00 t15",
      "71460 @100 h94.50 L '[Simple]' (105,194,255) bold",
      "71461 @106 h94.50 L '[Lines]' (105,194,255) bold",
      "71462 @112 h94.50 L '[Zones]' (105,194,255) bold",
      "71463 @118 h94.50 L '[Expand]' (105,194,255) bold",
      "71464 @124 h94.50 L ' Hide ' (170,180,198)",
  };
  EXPECT_EQ(Drawn(), expected);
}

TEST_F(PanelLayoutTest, HiddenPanelShowsOnlyItsLabel) {
  const struct {
    int anchor;
    const char* drawing;
    const char* rect;
  } cases[] = {
      {0, "71400 @100 h97.00 L '[ GEX NQ - show panel ]' (105,194,255) bold", "4,18-154,42 show="},
      {3, "71400 @199 h4.00 R '[ GEX NQ - show panel ]' (105,194,255) bold", "646,948-796,972 show="},
  };
  for (const auto& c : cases) {
    sc.drawings.clear();
    drawnLines.clear();
    state.hidden = true;
    Render(NumberedLines(5), {.anchorIndex = c.anchor});
    EXPECT_EQ(Drawn(), std::vector<std::string>{c.drawing}) << c.anchor;
    EXPECT_EQ(Rects(), std::vector<std::string>{c.rect}) << c.anchor;
    EXPECT_EQ(drawnLines, std::vector<int>{71400}) << c.anchor;
  }
}

TEST_F(PanelLayoutTest, SmallRegionDrawsButRegistersNothing) {
  sc.region = {0, 15, 0, 1000};
  const std::string longText(50, 'x');
  Render({Line(longText.c_str()), Line("- Levels -", kTabLevels, kKindGroupHeader, kGroupCore)},
         {.opacity = 0});
  EXPECT_TRUE(state.hitRects.empty());
  EXPECT_EQ(DrawnTexts(71401, 71458), (std::vector<std::string>{longText, "- - Levels -"}));
  EXPECT_EQ(sc.drawings.count(71459), 0u);  // opacity 0: no background
}

TEST_F(PanelLayoutTest, ExtremeInputsStayInBounds) {
  sc.visible = {-50, -10};
  sc.region = {-2000000000, 2000000000, 0, 1000};
  lineSpacing = INFINITY;
  Render(NumberedLines(80), {.anchorIndex = -7,
                             .fontSize = INT_MAX,
                             .opacity = 1000,
                             .widthBars = INT_MIN,
                             .wrapColumns = INT_MIN});
  EXPECT_EQ(DescribeDrawing(sc.drawings[71400]), "71400 @0 h97.00 L 'ORDINEL  NQ' (105,194,255) bold");
  EXPECT_EQ(sc.drawings.count(71459), 0u);  // a span of no bars has no background
  // No width at all still wraps at 12 columns, never a character per line.
  EXPECT_EQ(DrawnTexts(71401, 71458).back(), "+45 lines hidden; widen/fold/switch tab");
  for (const PanelHitRect& r : state.hitRects)
    EXPECT_TRUE(r.left < r.right && r.top < r.bottom) << DescribeRect(r);
}

// The panel at its fullest (smallest spacing, more lines than fit) fills each of its blocks of
// the line plan exactly and draws no number twice or outside them.
TEST_F(PanelLayoutTest, FullestPanelFillsEveryPanelBlockAndNothingElse) {
  sc.region = {0, 3000, 0, 1000};
  lineSpacing = 0.1;
  Render(NumberedLines(80), {.fontSize = 6});
  EXPECT_EQ(palette::FullestPassFaults(drawnLines, palette::kPanelPart), std::vector<std::string>{});
}

}  // namespace
}  // namespace panel
