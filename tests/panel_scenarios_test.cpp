// Clicks through the info panel with `ordinel replay` (the panel_*.json scenarios) and checks the
// saved state text, the panel's drawings and the chart layers the buttons gate. Geometry follows
// the default chart: visible bars 100-199, 8 pixels a bar, a 600-pixel price region, font 9, so
// the line spacing is raised to (9 x 1.6 + 4) x 100 / 600 % and the panel spans 55 bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "json/json_value.h"
#include "replay_test_support.h"
#include "text/format.h"

namespace {

using replay_test::AnswerFile;
using replay_test::At;
using replay_test::Drawing;
using replay_test::DrawingLines;
using replay_test::DumpOf;
using replay_test::RunOrdinel;
using replay_test::TextDrawing;

constexpr char kStateInput[] = "Panel state (managed by the panel buttons)";
constexpr double kSpacing = (9 * 1.6 + 4.0) * 100.0 / 600.0;
constexpr int kTitleLine = 71400;
constexpr int kFirstContentLine = 71401;
constexpr int kBackgroundLine = 71459;
constexpr int kFirstControlLine = 71460;
constexpr int kFirstTabLine = 71480;
constexpr int kLastPanelLine = 71499;
constexpr char kCallWallRow[] = "  CW    21862.50     +362.50  Call Wall";
constexpr char kFearHeader[] = "- Fear score, vs 12y of sessions -";
constexpr char kStrikesHeader[] = "- Top strikes by |GEX| - intensity [0-100], xN clustered -";

std::string Rgb(const json::Value& colour) {
  if (colour.elements.size() != 3) return "rgb(?)";
  return text::Format("rgb(%d,%d,%d)", int(colour.elements[0].number), int(colour.elements[1].number),
                      int(colour.elements[2].number));
}

const std::string kActive = "rgb(105,194,255)";
const std::string kInactive = "rgb(170,180,198)";
const std::string kGreen = "rgb(115,240,176)";
const std::string kRed = "rgb(255,139,139)";

// The texts of the panel's content lines (between the title and the background), in order.
std::vector<std::string> ContentTexts(const json::Value& dump) {
  std::vector<std::string> texts;
  for (int line : DrawingLines(dump, kFirstContentLine, kBackgroundLine - 1)) {
    texts.push_back(At(*Drawing(dump, line), {"text"}).text);
  }
  return texts;
}

bool HasRow(const std::vector<std::string>& rows, const std::string& text) {
  for (const std::string& row : rows) {
    if (row == text) return true;
  }
  return false;
}

bool HasRowStartingWith(const std::vector<std::string>& rows, const std::string& start) {
  for (const std::string& row : rows) {
    if (row.rfind(start, 0) == 0) return true;
  }
  return false;
}

std::string TextAt(const json::Value& dump, int line) {
  const json::Value* d = Drawing(dump, line);
  return d ? At(*d, {"text"}).text : "(not drawn)";
}

std::set<int> ChartLines(const json::Value& dump) {
  const std::vector<int> lines = DrawingLines(dump, 0, kTitleLine - 1);
  return {lines.begin(), lines.end()};
}

std::set<int> Range(int first, int last) {
  std::set<int> out;
  for (int line = first; line <= last; ++line) out.insert(line);
  return out;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(PanelScenarios, EveryAcceptedClickSavesTheState) {
  struct Case {
    const char* scenario;
    const char* dump;
    const char* state;
    int anchor;
  };
  const Case cases[] = {
      // Nothing is written before the first click.
      {"panel_fold.json", "open", "", 0},
      {"panel_fold.json", "folded", "t1c1h0s0l0z0C0Z0", 0},
      {"panel_fold.json", "expanded", "t1c0h0s0l0z0C0Z0", 0},
      {"panel_fold.json", "core_folded", "t1c0h0s0l0z0C1Z0", 0},
      {"panel_corners.json", "corner0", "", 0},
      // Empty chart space and a plain content line are no buttons: nothing is saved.
      {"panel_corners.json", "missed", "", 0},
      {"panel_corners.json", "corner1", "t1c0h0s0l0z0C0Z0", 1},
      {"panel_corners.json", "corner2", "t1c0h0s0l0z0C0Z0", 2},
      {"panel_corners.json", "corner3", "t1c0h0s0l0z0C0Z0", 3},
      {"panel_corners.json", "corner0_again", "t1c0h0s0l0z0C0Z0", 0},
      {"panel_hide.json", "hidden", "t1c0h1s0l0z0C0Z0", 3},
      {"panel_hide.json", "shown", "t1c0h0s0l0z0C0Z0", 3},
      {"panel_tabs.json", "fear", "t4c0h0s0l0z0C0Z0", 0},
      {"panel_tabs.json", "strikes", "t3c0h0s0l0z0C0Z0", 0},
      {"panel_tabs.json", "back", "t1c0h0s0l0z0C0Z0", 0},
      {"panel_overlays.json", "lines_off", "t1c0h0s0l1z0C0Z0", 0},
      {"panel_overlays.json", "lines_on", "t1c0h0s0l0z0C0Z0", 0},
      {"panel_overlays.json", "simple", "t1c0h0s1l0z0C0Z0", 0},
      {"panel_overlays.json", "simple_off", "t1c0h0s0l0z0C0Z0", 0},
      {"panel_overlays.json", "zones_off", "t1c0h0s0l0z1C0Z0", 0},
      {"panel_restore.json", "restored", "t3c0h0s0l0z0C0Z0", 0},
      {"panel_restore.json", "saved", "t4c1h0s0l0z0C0Z0", 0},
      {"panel_restore.json", "reloaded", "t4c1h0s0l0z0C0Z0", 0},
      {"panel_restore.json", "expanded", "t4c0h0s0l0z0C0Z0", 0},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf(c.scenario, c.dump);
    EXPECT_EQ(At(dump, {"inputs", kStateInput}).text, c.state) << c.scenario << " at " << c.dump;
    EXPECT_EQ(At(dump, {"inputs", "Panel anchor"}).number, c.anchor) << c.scenario << " at " << c.dump;
  }
}

TEST(PanelScenarios, ButtonsShowTheStateTheyToggle) {
  struct Case {
    const char* scenario;
    const char* dump;
    int line;
    const char* text;
  };
  const Case cases[] = {
      {"panel_fold.json", "open", 71463, " Fold "},
      {"panel_fold.json", "folded", 71463, "[Expand]"},
      {"panel_fold.json", "expanded", 71463, " Fold "},
      {"panel_overlays.json", "full", 71461, "[Lines]"},
      {"panel_overlays.json", "lines_off", 71461, " Lines "},
      {"panel_overlays.json", "simple", 71460, "[Simple]"},
      {"panel_overlays.json", "simple_off", 71460, " Simple "},
      {"panel_overlays.json", "zones_off", 71462, " Zones "},
      {"panel_tabs.json", "levels", 71480, "[Levels]"},
      {"panel_tabs.json", "fear", 71480, " Levels "},
      {"panel_tabs.json", "fear", 71483, "[Fear]"},
      {"panel_tabs.json", "strikes", 71482, "[Strikes]"},
      {"panel_tabs.json", "strikes", 71483, " Fear "},
      {"panel_tabs.json", "back", 71480, "[Levels]"},
      // The state text given as an input is the first view of a new instance.
      {"panel_restore.json", "restored", 71482, "[Strikes]"},
      {"panel_restore.json", "restored", 71480, " Levels "},
      {"panel_restore.json", "reloaded", 71463, "[Expand]"},
      {"panel_restore.json", "expanded", 71483, "[Fear]"},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf(c.scenario, c.dump);
    const std::string where = std::string(c.scenario) + " at " + c.dump + " line " + std::to_string(c.line);
    ASSERT_EQ(TextAt(dump, c.line), c.text) << where;
    const json::Value& button = *Drawing(dump, c.line);
    const bool active = c.text[0] == '[';
    EXPECT_EQ(Rgb(At(button, {"colour"})), active ? kActive : kInactive) << where;
    EXPECT_EQ(At(button, {"bold"}).boolean != 0, active) << where;
  }
}

TEST(PanelScenarios, FoldKeepsOnlyTheTitleAndTheControlRow) {
  const json::Value& folded = DumpOf("panel_fold.json", "folded");
  EXPECT_EQ(DrawingLines(folded, kTitleLine, kLastPanelLine),
            (std::vector<int>{71400, 71459, 71460, 71461, 71462, 71463, 71464}));
  // Two rows from 97 %: the background ends 0.4 spacing below the second.
  const json::Value* background = Drawing(folded, kBackgroundLine);
  ASSERT_NE(background, nullptr);
  EXPECT_NEAR(At(*background, {"top"}).number, 97 + 0.6 * kSpacing, 1e-9);
  EXPECT_NEAR(At(*background, {"bottom"}).number, 97 - 2 * kSpacing + 0.4 * kSpacing, 1e-9);
  // "[Expand]" is one bar wider than " Fold " (8 x 6 px over 8 px bars against 6 x 6 / 8 rounded up).
  EXPECT_EQ(At(*Drawing(folded, 71464), {"bar"}).number, 124);

  const json::Value& expanded = DumpOf("panel_fold.json", "expanded");
  EXPECT_EQ(DrawingLines(expanded, kFirstTabLine, kLastPanelLine), (std::vector<int>{71480, 71481, 71482, 71483}));
  EXPECT_TRUE(HasRow(ContentTexts(expanded), kCallWallRow));
  EXPECT_EQ(ContentTexts(expanded), ContentTexts(DumpOf("panel_fold.json", "open")));
}

TEST(PanelScenarios, GroupHeaderFoldsItsRows) {
  const std::vector<std::string> rows = ContentTexts(DumpOf("panel_fold.json", "core_folded"));
  EXPECT_TRUE(HasRow(rows, "+ - Levels -"));
  EXPECT_FALSE(HasRow(rows, "- - Levels -"));
  EXPECT_FALSE(HasRow(rows, kCallWallRow));
  EXPECT_TRUE(HasRow(rows, "- - Zones -"));
  EXPECT_TRUE(HasRow(rows, "  BZ    21436.75 - 21476.75   Battle Zone"));
}

TEST(PanelScenarios, TitleClickWalksTheFourCorners) {
  struct Case {
    const char* dump;
    bool right;
    bool bottom;
  };
  const Case cases[] = {
      {"corner0", false, false}, {"corner1", true, false}, {"corner2", false, true},
      {"corner3", true, true},   {"corner0_again", false, false},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf("panel_corners.json", c.dump);
    const json::Value* title = Drawing(dump, kTitleLine);
    ASSERT_NE(title, nullptr) << c.dump;
    EXPECT_EQ(At(*title, {"text"}).text, "ORDINEL  NQ") << c.dump;
    EXPECT_EQ(At(*title, {"align"}).text, c.right ? "right" : "left") << c.dump;
    EXPECT_EQ(At(*title, {"bar"}).number, c.right ? 199 : 100) << c.dump;
    const size_t contentLines = ContentTexts(dump).size();
    ASSERT_GT(contentLines, 0u) << c.dump;
    const double rows = static_cast<double>(contentLines + 3);
    const double h0 = c.bottom ? std::min(rows * kSpacing + 3.0, 96.0) : 97.0;
    EXPECT_NEAR(At(*title, {"height"}).number, h0, 1e-9) << c.dump;
    if (c.bottom) {
      EXPECT_LT(h0, 50) << c.dump << ": a short panel sits near the bottom";
    }
    // Every content line hangs from the same anchor bar with the same alignment.
    for (int line : DrawingLines(dump, kFirstContentLine, kBackgroundLine - 1)) {
      const json::Value& d = *Drawing(dump, line);
      EXPECT_EQ(At(d, {"bar"}).number, c.right ? 199 : 100) << c.dump << " line " << line;
      EXPECT_EQ(At(d, {"align"}).text, c.right ? "right" : "left") << c.dump << " line " << line;
    }
    const json::Value* background = Drawing(dump, kBackgroundLine);
    ASSERT_NE(background, nullptr) << c.dump;
    EXPECT_EQ(At(*background, {"begin_bar"}).number, c.right ? 144 : 100) << c.dump;
    EXPECT_EQ(At(*background, {"end_bar"}).number, c.right ? 199 : 155) << c.dump;
    EXPECT_NEAR(At(*background, {"bottom"}).number, h0 - rows * kSpacing + 0.4 * kSpacing, 1e-9) << c.dump;
    // Control buttons are 6+6+6+5+5 = 28 bars wide; on the right they end at the last bar.
    EXPECT_EQ(At(*Drawing(dump, kFirstControlLine), {"bar"}).number, c.right ? 171 : 100) << c.dump;
    EXPECT_NEAR(At(*Drawing(dump, kFirstControlLine), {"height"}).number, h0 - kSpacing, 1e-9) << c.dump;
  }
}

TEST(PanelScenarios, HiddenPanelShowsOnlyItsLabel) {
  const json::Value& hidden = DumpOf("panel_hide.json", "hidden");
  ASSERT_EQ(DrawingLines(hidden, kTitleLine, kLastPanelLine), (std::vector<int>{kTitleLine}));
  const json::Value& label = *Drawing(hidden, kTitleLine);
  EXPECT_EQ(At(label, {"text"}).text, "[ GEX NQ - show panel ]");
  // Bottom right: the label sits at 4 % and ends at the last visible bar.
  EXPECT_EQ(At(label, {"bar"}).number, 199);
  EXPECT_EQ(At(label, {"height"}).number, 4.0);
  EXPECT_EQ(At(label, {"align"}).text, "right");
  EXPECT_EQ(Rgb(At(label, {"colour"})), kActive);
  EXPECT_TRUE(At(label, {"bold"}).boolean);
  EXPECT_EQ(ChartLines(hidden), ChartLines(DumpOf("panel_hide.json", "open"))) << "the levels stay drawn";

  const json::Value& shown = DumpOf("panel_hide.json", "shown");
  EXPECT_EQ(TextAt(shown, kTitleLine), "ORDINEL  NQ");
  EXPECT_EQ(DrawingLines(shown, kTitleLine, kLastPanelLine),
            DrawingLines(DumpOf("panel_hide.json", "open"), kTitleLine, kLastPanelLine));
}

// The top-strike rows the Strikes tab must show, built from the profile rows that
// `ordinel inspect` reads from the same answer.
struct StrikeRow {
  std::string text;
  std::string colour;
};

std::vector<StrikeRow> ExpectedStrikeRows(const std::string& answer, double spot) {
  const replay_test::ProgramRun run = RunOrdinel({"inspect", answer});
  json::Value parsed;
  EXPECT_TRUE(json::ParseJson(run.out, &parsed)) << run.err;
  std::vector<StrikeRow> rows;
  for (const json::Value& row : At(parsed, {"snapshot", "profileRows"}).elements) {
    const double price = At(row, {"price"}).number;
    const int percent = static_cast<int>(At(row, {"percent"}).number);
    const int merged = static_cast<int>(At(row, {"mergedCount"}).number);
    const std::string bar(static_cast<size_t>(std::max(1, percent / 10)), '#');
    const std::string cluster = merged > 1 ? text::Format("x%d ", merged) : "";
    rows.push_back({text::Format("  %-12s [%3d] %-10s %s%s", text::Format("%.2f", price), percent, bar, cluster,
                                 At(row, {"tag"}).text),
                    price >= spot ? kGreen : kRed});
  }
  return rows;
}

TEST(PanelScenarios, TabsSwitchTheContent) {
  const std::vector<std::string> levels = ContentTexts(DumpOf("panel_tabs.json", "levels"));
  EXPECT_TRUE(HasRow(levels, kCallWallRow));
  EXPECT_FALSE(HasRow(levels, kFearHeader));
  EXPECT_FALSE(HasRow(levels, kStrikesHeader));

  // Flip stress (21456.75 - 21500) / 21500 = -0.20 %; the QQQ closes' last five log returns give
  // a realised volatility of 22.1 %; the VIX answer's price is 17.23. All three are in, so there
  // is no partial-read row.
  const std::vector<std::string> fear = ContentTexts(DumpOf("panel_tabs.json", "fear"));
  EXPECT_TRUE(HasRow(fear, kFearHeader));
  EXPECT_TRUE(HasRowStartingWith(fear, "  Flip stress -0.20% p"));
  bool inputsRow = false;
  for (const std::string& row : fear) {
    if (row.rfind("  Flip stress ", 0) != 0) continue;
    inputsRow = row.find(" | Realized vol 5d 22.1% p") != std::string::npos &&
                row.find(" | VIX 17.23 p") != std::string::npos;
  }
  EXPECT_TRUE(inputsRow);
  bool scoreRow = false;
  for (const std::string& row : fear) scoreRow = scoreRow || row.find(" over 12y of history   ") != std::string::npos;
  EXPECT_TRUE(scoreRow);
  EXPECT_FALSE(HasRowStartingWith(fear, "  Partial read"));
  EXPECT_FALSE(HasRow(fear, kCallWallRow));
  EXPECT_FALSE(HasRow(fear, kStrikesHeader));

  const json::Value& strikesDump = DumpOf("panel_tabs.json", "strikes");
  const std::vector<std::string> strikes = ContentTexts(strikesDump);
  EXPECT_TRUE(HasRow(strikes, kStrikesHeader));
  EXPECT_FALSE(HasRow(strikes, kCallWallRow));
  EXPECT_FALSE(HasRow(strikes, kFearHeader));
  const std::vector<StrikeRow> expected = ExpectedStrikeRows(AnswerFile("legacy.json"), 21500);
  ASSERT_EQ(expected.size(), 10u) << "full detail shows every profile row";
  EXPECT_TRUE(HasRow(strikes, "  21862.50     [100] ########## CW"));
  for (const StrikeRow& row : expected) {
    const json::Value* d = TextDrawing(strikesDump, row.text);
    ASSERT_NE(d, nullptr) << "missing row '" << row.text << "'";
    EXPECT_EQ(Rgb(At(*d, {"colour"})), row.colour) << row.text;
  }

  EXPECT_EQ(ContentTexts(DumpOf("panel_tabs.json", "back")), levels);
}

TEST(PanelScenarios, SimpleLinesAndZonesGateTheChartLayers) {
  // Core and focus lines, zone boundaries and shading draw in every mode but Lines off; the
  // unstable corridor (71134) and the daily volatility zones (71136-71142) are overlays.
  const std::set<int> core = Union(Union(Range(71000, 71006), Range(71100, 71105)), Range(71130, 71132));
  const std::set<int> full = Union(Union(core, {71134}), Range(71136, 71142));
  struct Case {
    const char* dump;
    std::set<int> chart;
  };
  const Case cases[] = {
      {"full", full},     {"lines_off", {}},      {"lines_on", full},
      {"simple", core},   {"simple_off", full},   {"zones_off", core},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf("panel_overlays.json", c.dump);
    EXPECT_EQ(ChartLines(dump), c.chart) << c.dump;
    EXPECT_TRUE(HasRow(ContentTexts(dump), kCallWallRow)) << c.dump << ": the panel stays";
  }
  const json::Value& simple = DumpOf("panel_overlays.json", "simple");
  EXPECT_EQ(TextAt(simple, kTitleLine), "ORDINEL  NQ   SIMPLE");
  EXPECT_FALSE(HasRow(ContentTexts(simple), "- - Zones -"));
  EXPECT_FALSE(HasRowStartingWith(ContentTexts(simple), "  UCL "));
  // Zones off hides overlays only; the panel still lists the zones.
  EXPECT_TRUE(HasRowStartingWith(ContentTexts(DumpOf("panel_overlays.json", "zones_off")), "  UCL "));
}

TEST(PanelScenarios, SavedStateComesBackInANewInstance) {
  const std::vector<std::string> restored = ContentTexts(DumpOf("panel_restore.json", "restored"));
  EXPECT_TRUE(HasRowStartingWith(restored, "- Top strikes by |GEX|"));
  EXPECT_FALSE(HasRow(restored, kCallWallRow));
  // Removal deletes every drawing of the study.
  EXPECT_TRUE(At(DumpOf("panel_restore.json", "removed"), {"drawings"}).elements.empty());
  // The call after the removal adds the study again: a new instance asks for levels at once
  // and reads the saved text, so it opens folded on the Fear tab.
  const json::Value& reloaded = DumpOf("panel_restore.json", "reloaded");
  const json::Value& requests = At(reloaded, {"requests"});
  ASSERT_EQ(requests.elements.size(), 2u);
  EXPECT_EQ(At(requests.elements[1], {"time"}).number, 1735832725);
  EXPECT_EQ(DrawingLines(reloaded, kTitleLine, kLastPanelLine),
            (std::vector<int>{71400, 71459, 71460, 71461, 71462, 71463, 71464}));
}

}  // namespace
