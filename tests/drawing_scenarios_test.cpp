// Runs `ordinel replay` on the drawing scenarios (tests/scenarios/drawing_*.json) and checks
// the chart drawings in their reports against values worked out by hand from the sample
// answers. The panel (line numbers 71400-71499) is left out of every check.
#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "json/json_value.h"
#include "replay_test_support.h"
#include "text/format.h"

namespace {

using replay_test::At;
using replay_test::Report;
using replay_test::RequiredDump;
using replay_test::Slurp;
using replay_test::TestScenario;

constexpr int kPanelFirstLine = 71400;
constexpr int kPanelLastLine = 71499;

std::string Rgb(const json::Value& colour) {
  if (colour.elements.size() != 3) return "rgb(?)";
  return text::Format("rgb(%d,%d,%d)", int(colour.elements[0].number), int(colour.elements[1].number),
                      int(colour.elements[2].number));
}

// One drawing as one line of text, prices to 6 decimals (computed prices carry rounding noise):
// "71000 line 21862.500000 'CW - Call Wall' rgb(1,200,17) w2 s0 scale" or
// "71130 rect 5-104 21903.750000..21821.250000 rgb(..) fill rgb(..) w1 t85".
std::string Describe(const json::Value& d) {
  const int line = int(At(d, {"line"}).number);
  const std::string& kind = At(d, {"kind"}).text;
  if (kind == "line") {
    const json::Value& label = At(d, {"text"});
    const std::string shown = label.kind == json::kString ? "'" + label.text + "'" : "-";
    return text::Format("%d line %.6f %s %s w%d s%d%s", line, At(d, {"price"}).number, shown,
                        Rgb(At(d, {"colour"})), int(At(d, {"width"}).number), int(At(d, {"style"}).number),
                        At(d, {"price_scale"}).boolean ? " scale" : "");
  }
  if (kind == "rect") {
    return text::Format("%d rect %d-%d %.6f..%.6f %s fill %s w%d t%d", line, int(At(d, {"begin_bar"}).number),
                        int(At(d, {"end_bar"}).number), At(d, {"top"}).number, At(d, {"bottom"}).number,
                        Rgb(At(d, {"colour"})), Rgb(At(d, {"fill"})), int(At(d, {"width"}).number),
                        int(At(d, {"transparency"}).number));
  }
  return text::Format("%d %s", line, kind);
}

// The chart drawings of a dump (panel excluded) by line number.
std::map<int, const json::Value*> ChartDrawings(const json::Value& dump) {
  std::map<int, const json::Value*> out;
  for (const json::Value& d : At(dump, {"drawings"}).elements) {
    const int line = int(At(d, {"line"}).number);
    if (line < kPanelFirstLine || line > kPanelLastLine) out[line] = &d;
  }
  return out;
}

// Each expected description (which starts with its line number) matches the drawing there.
void ExpectDrawn(const std::map<int, const json::Value*>& drawings, const std::vector<std::string>& expected) {
  for (const std::string& line : expected) {
    const auto found = drawings.find(std::stoi(line.substr(0, 5)));
    if (found == drawings.end()) {
      ADD_FAILURE() << "not drawn: " << line;
      continue;
    }
    EXPECT_EQ(Describe(*found->second), line);
  }
}

std::set<int> LineNumbers(const std::map<int, const json::Value*>& drawings) {
  std::set<int> out;
  for (const auto& [line, d] : drawings) out.insert(line);
  return out;
}

// "71000 21862.500000 'CW - Call Wall'": line number, price and label of every chart drawing.
std::vector<std::string> LinesAndLabels(const json::Value& dump) {
  std::vector<std::string> out;
  for (const auto& [line, d] : ChartDrawings(dump)) {
    const json::Value& label = At(*d, {"text"});
    out.push_back(At(*d, {"kind"}).text == "line"
                      ? text::Format("%d %.6f %s", line, At(*d, {"price"}).number,
                                     label.kind == json::kString ? "'" + label.text + "'" : "-")
                      : text::Format("%d %s", line, At(*d, {"kind"}).text));
  }
  return out;
}

std::set<int> Ranges(std::initializer_list<std::pair<int, int>> ranges) {
  std::set<int> out;
  for (const auto& [first, last] : ranges) {
    for (int line = first; line <= last; ++line) out.insert(line);
  }
  return out;
}

// Expected drawings of drawing_every_layer.json, whose subgraph colours are all distinct so a
// drawing in the wrong subgraph's colour shows.
class DrawingEveryLayer : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    report_ = new json::Value(Report(TestScenario("drawing_every_layer.json")));
    scenario_ = new json::Value();
    EXPECT_TRUE(json::ParseJson(Slurp(TestScenario("drawing_every_layer.json")), scenario_));
  }
  static void TearDownTestSuite() {
    delete report_;
    delete scenario_;
  }

  static std::string Colour(const std::string& subgraph) {
    const json::Value* colour = json::Member(At(*scenario_, {"colours"}), subgraph);
    EXPECT_NE(colour, nullptr) << "the scenario sets no colour for " << subgraph;
    return colour ? Rgb(*colour) : "rgb(?)";
  }
  static std::string Line(int line, double price, const char* label, const std::string& colour, int width,
                          int style, bool scale = false) {
    return text::Format("%d line %.6f %s %s w%d s%d%s", line, price,
                        label ? std::string("'") + label + "'" : std::string("-"), colour, width, style,
                        scale ? " scale" : "");
  }
  static std::string Band(int line, int begin, double top, double bottom, const std::string& colour,
                          int transparency) {
    return text::Format("%d rect %d-104 %.6f..%.6f %s fill %s w1 t%d", line, begin, top, bottom, colour, colour,
                        transparency);
  }

  static json::Value* report_;
  static json::Value* scenario_;
};

json::Value* DrawingEveryLayer::report_ = nullptr;
json::Value* DrawingEveryLayer::scenario_ = nullptr;

// The chart shows bars 5-104 (the last 100 of 105): bands span bars 5 to 104. Exposure mode
// "Gamma + Delta" appends " GEX" then " DEX" amounts from label_exposures (strikes on the
// 41.25 grid only) to every labelled line; then "  P(touch) N%" from the first 8 density levels.
TEST_F(DrawingEveryLayer, EveryLineNumberOfThePlanThatTheSampleFills) {
  const std::set<int> expected = Ranges({
      {71000, 71010}, {71100, 71105}, {71130, 71132}, {71134, 71134}, {71136, 71142}, {71144, 71146},
      {71200, 71209},                                   // 10 top strikes (default count)
      {71500, 71504}, {71508, 71508},                   // 5 vanna walls, vanna flip
      {71510, 71512}, {71516, 71516},                   // 3 charm zones, charm flip
      {71518, 71521}, {71525, 71527}, {71530, 71535}, {71537, 71539}, {71541, 71547},
      {71550, 71552}, {71554, 71556}, {71558, 71558}, {71560, 71562}, {71564, 71565},
      {71570, 71575},                                   // 3 extenders per side
      {71600, 71639},                                   // 40 GEX cells, none zero
      {71650, 71689},                                   // the lowest 40 of 60 charm cells
      {71700, 71739},                                   // the lowest 40 of 301 delta cells
      {71850, 71852},
      {71900, 71910},                                   // 11 profile points in 21280-21720
      {72100, 72101},
  });
  // The vanna and vega maps' lowest 40 strikes (QQQ 380-419) carry 0: nothing drawn there.
  EXPECT_EQ(LineNumbers(ChartDrawings(RequiredDump(*report_, "loaded"))), expected);
}

TEST_F(DrawingEveryLayer, CoreAndFocusLinesCarryExposureAndTouchSuffixes) {
  const auto drawings = ChartDrawings(RequiredDump(*report_, "loaded"));
  // "Line width" 2 and "Show level values in the price scale" on apply to these rows only.
  const std::vector<std::string> expected = {
      // Call wall: GEX 1184689403 and DEX -1717806195 are at least 1e9 (%.1fB); touch 13.3.
      Line(71000, 21862.5, "CW - Call Wall GEX 1.2B DEX -1.7B  P(touch) 13%", Colour("Call Wall"), 2, 0, true),
      Line(71001, 21243.75, "PW - Put Wall GEX -675.14M DEX 904.15M  P(touch) 29%", Colour("Put Wall"), 2, 0, true),
      // 21456.75, 21420.75 and 21388.5 are off the strike grid: touch suffix only.
      Line(71002, 21456.75, "GF - Gamma Flip  P(touch) 86%", Colour("Gamma Flip"), 2, 1, true),
      Line(71003, 21420.75, "VT/HVL - Vol Trigger  P(touch) 74%", Colour("Vol Trigger"), 2, 2, true),
      Line(71004, 21450, "MP - Max Pain GEX -39.84M DEX 267.25M  P(touch) 84%", Colour("Max Pain"), 2, 1, true),
      Line(71005, 22068.75, "Call OI Wall GEX 735.37M DEX -1.7B  P(touch) 2%", Colour("Call OI Wall"), 2, 2, true),
      // GEX -311088 prints in millions; p_touch_pct 0.0 still prints.
      Line(71006, 20625, "Put OI Wall GEX -0.31M DEX 2.2B  P(touch) 0%", Colour("Put OI Wall"), 2, 2, true),
      Line(71007, 21388.5, "0DEX - Zero DEX  P(touch) 64%", Colour("Zero DEX"), 2, 1, true),
      // DEX -631625000 is the exact tie -631.625: printf rounds it to even.
      Line(71008, 21656.25, "MAG - Gamma magnet - high GEX 629.00M DEX -631.62M", Colour("Focus 1"), 2, 0, true),
      Line(71009, 21367.5, "SUP - Dealer support - medium GEX -259.06M DEX 322.94M", Colour("Focus 2"), 2, 0, true),
      Line(71010, 21780, "RES - Call resistance - low GEX 535.70M DEX -706.93M", Colour("Focus 3"), 2, 0, true),
  };
  ExpectDrawn(drawings, expected);
}

TEST_F(DrawingEveryLayer, RepresentativeLineOfEveryOverlay) {
  const auto drawings = ChartDrawings(RequiredDump(*report_, "loaded"));
  const std::string kZeroGamma = "rgb(94,214,196)";  // fixed, not a subgraph colour
  const std::vector<std::string> expected = {
      // Zones: the high line is labelled (and gets suffixes), the low line has no text at all.
      Line(71100, 21903.75, "UCL - Resistance GEX 607.30M DEX -891.81M", Colour("Upside Cluster"), 1, 2),
      Line(71101, 21821.25, nullptr, Colour("Upside Cluster"), 1, 2),
      Line(71102, 21476.75, "BZ - Battle Zone", Colour("Battle Zone"), 1, 2),
      Band(71130, 5, 21903.75, 21821.25, Colour("Upside Cluster"), 85),
      Band(71132, 5, 21285, 21202.5, Colour("Downside Cluster"), 85),
      // Vol trigger and flip 36 apart, under 21500 x 0.0035 = 75.25.
      Band(71134, 5, 21456.75, 21420.75, Colour("Unstable Corridor"), 92),
      // Anchor 21466, steps 0.25 x 241.08 x {0.5, 1, 2} = 30.135, 60.27, 120.54.
      Line(71136, 21466, "DVZ AVG", Colour("Daily Vol Zone"), 1, 1),
      Line(71137, 21496.135, "DVZ +0.5", Colour("Daily Vol Zone"), 1, 2),
      Line(71142, 21345.46, "DVZ -2", Colour("Daily Vol Zone"), 1, 2),
      Line(71146, 21396.75, "GF-NDX", Colour("NDX Level"), 1, 1),
      // Intensity 0.465: 46.5 + 0.5 truncates to 47.
      Line(71501, 21078.75, "VANNA [47] GEX -281.44M DEX 811.21M", Colour("Vanna Wall"), 1, 2),
      Line(71503, 21862.5, "VANNA [100] GEX 1.2B DEX -1.7B  P(touch) 13%", Colour("Vanna Wall"), 1, 2),
      Line(71508, 21520, "VF - Vanna Flip", Colour("Vanna Wall"), 1, 1),
      Band(71511, 5, 21615, 21573.75, Colour("Charm Zone"), 92),
      Line(71516, 21477.5, "CF - Charm Flip", Colour("Charm Zone"), 1, 1),
      Band(71850, 5, 21741.08, 21258.92, Colour("Gamma Flip"), 92),
      Line(71851, 21469.25, "0y - Zero Gamma (model)", kZeroGamma, 1, 1),
      Band(71852, 5, 21499.25, 21439.25, kZeroGamma, 92),
      // 22275 and 20831.25 are density levels 9 and 10, beyond the 8 kept: no touch suffix.
      Line(72100, 22275, "IV-C GEX 418.13M DEX -2.3B", Colour("Vega Wall"), 1, 1),
      Line(72101, 20831.25, "IV-P GEX -23.42M DEX 1.6B", Colour("Vega Wall"), 1, 1),
      Line(71519, 21450, "VEGA GEX -39.84M DEX 267.25M  P(touch) 84%", Colour("Vega Wall"), 1, 2),
      Line(71527, 21426.75, "H-VT", Colour("Hybrid Wall"), 1, 1),
      // The opening range comes from or30 (21452.25-21518.75), not or15.
      Line(71533, 21518.75, "OR HIGH", Colour("Session Ref"), 1, 2),
      Band(71535, 5, 21518.75, 21452.25, Colour("Session Ref"), 94),
      Line(71538, 21531.5, "ONH", Colour("Overnight"), 1, 2),
      Line(71541, 21491.75, "VWAP", Colour("VWAP Band"), 1, 1),
      Line(71542, 21540.25, nullptr, Colour("VWAP Band"), 1, 2),
      Line(71547, 21346.25, nullptr, Colour("VWAP Band"), 1, 2),
      Band(71551, 5, 21531.5, 21428.75, Colour("ICT Range"), 94),
      Line(71555, 21531.5, "LONDON", Colour("ICT Range"), 1, 2),
      Line(71558, 21471.25, "00:00 OPEN", Colour("ICT Range"), 1, 2),
      // 60 minutes: sqrt(60 / 525600) x 0.178 x 21500 = 40.888992.
      Band(71560, 5, 21540.888992, 21459.111008, Colour("IV Zone"), 94),
      Line(71561, 21540.888992, "IV +60m", Colour("IV Zone"), 1, 2),
      Line(71562, 21459.111008, nullptr, Colour("IV Zone"), 1, 2),
      // 2 % of spot 21500 = 430 on each side of the flip 21456.75.
      Band(71564, 5, 21886.75, 21456.75, Colour("Regime Tint Long"), 96),
      Band(71565, 5, 21456.75, 21026.75, Colour("Regime Tint Short"), 96),
      // Below the put wall the heaviest are 21202.5, 21161.25, 21037.5; above the call wall
      // 22068.75, 21903.75, 21945: numbered from the wall outwards.
      Line(71570, 21202.5, "PW-1 GEX -453.07M DEX 728.27M", Colour("Wall Extender (put side)"), 1, 2),
      Line(71572, 21037.5, "PW-3 GEX -411.58M DEX 1.9B", Colour("Wall Extender (put side)"), 1, 2),
      Line(71573, 21903.75, "CW+1 GEX 607.30M DEX -891.81M", Colour("Wall Extender (call side)"), 1, 2),
      Line(71575, 22068.75, "CW+3 GEX 735.37M DEX -1.7B  P(touch) 2%", Colour("Wall Extender (call side)"), 1, 2),
      // Strikes 41.25 apart never merge (tolerance 25.8); percent of 1184689403.
      Line(71200, 22068.75, "[62] GEX 735.37M DEX -1.7B  P(touch) 2%", Colour("Top Strike"), 1, 2),
      Line(71204, 21862.5, "[100] CW GEX 1.2B DEX -1.7B  P(touch) 13%", Colour("Top Strike"), 1, 2),
      Line(71209, 21243.75, "[57] PW GEX -675.14M DEX 904.15M  P(touch) 29%", Colour("Top Strike"), 1, 2),
  };
  ExpectDrawn(drawings, expected);
}

// Heat cells reach halfway to the neighbouring strikes (41.25 apart: +-20.625); transparency
// (1 - sqrt(|s|) x 20 / 100) x 100 + 0.5, truncated.
TEST_F(DrawingEveryLayer, HeatmapCellsAndProfileBars) {
  const auto drawings = ChartDrawings(RequiredDump(*report_, "loaded"));
  const std::vector<std::string> expected = {
      // gex_topo rows summed over expiries: 20707.5 sums to -1317339 (s = -0.0011, t 99),
      // 21862.5 to the maximum 1218064085 (t 80), 22316.25 to 156008405 (s = 0.128, t 93).
      Band(71600, 5, 20728.125, 20686.875, Colour("GEX Heatmap -"), 99),
      Band(71628, 5, 21883.125, 21841.875, Colour("GEX Heatmap +"), 80),
      Band(71639, 5, 22336.875, 22295.625, Colour("GEX Heatmap +"), 93),
      // charm_by_strike: -37187728 at 21862.5 is the largest magnitude; the 40th cell
      // (21903.75, -15801617, s = -0.425) is the last one drawn of 60.
      Band(71688, 5, 21883.125, 21841.875, Colour("Charm Map -"), 80),
      Band(71689, 5, 21924.375, 21883.125, Colour("Charm Map -"), 87),
      // Delta: the lowest strikes, 15675 (238) and 17283.75 (298840), are tiny shares.
      Band(71700, 5, 15695.625, 15654.375, Colour("Delta Map +"), 100),
      Band(71739, 5, 17304.375, 17263.125, Colour("Delta Map +"), 100),
      // Visible lows/highs 21300-21700 (bar 0's 20000 is off screen), padded to 21280-21720;
      // half-height 41.25 x 0.4 = 16.5; L = 99 x 0.15 = 14 bars for 629000862 at 21656.25.
      // 21285: 401741572 / 629000862 x 14 + 0.5 = 9.4 -> 9 bars from bar 95.
      Band(71900, 95, 21301.5, 21268.5, Colour("Put Wall"), 74),
      // 21491.25: 88293914 -> 2.5 -> 2 bars, the first positive point.
      Band(71905, 102, 21507.75, 21474.75, Colour("Call Wall"), 74),
      Band(71909, 90, 21672.75, 21639.75, Colour("Call Wall"), 74),
      Band(71910, 93, 21714, 21681, Colour("Call Wall"), 74),
  };
  ExpectDrawn(drawings, expected);
}

// Core line numbers follow the rows drawn, not the levels: the call wall arriving in a later
// answer takes 71000 and pushes the others up.
TEST(DrawingScenarios, CallWallAbsentThenPresentRenumbersTheCoreLines) {
  const json::Value report = Report(TestScenario("drawing_call_wall_appears.json"));
  EXPECT_EQ(LinesAndLabels(RequiredDump(report, "without call wall")),
            (std::vector<std::string>{"71000 21243.750000 'PW - Put Wall'", "71001 21456.750000 'GF - Gamma Flip'",
                                      "71002 21420.750000 'VT/HVL - Vol Trigger'", "71134 rect"}));
  EXPECT_EQ(LinesAndLabels(RequiredDump(report, "with call wall")),
            (std::vector<std::string>{"71000 21862.500000 'CW - Call Wall'", "71001 21243.750000 'PW - Put Wall'",
                                      "71002 21456.750000 'GF - Gamma Flip'",
                                      "71003 21420.750000 'VT/HVL - Vol Trigger'", "71134 rect"}));
}

// Over the extended sample with default inputs plus max pain, OI walls and zero DEX: the
// touch suffix is on by default; focus lines follow the core rows.
TEST(DrawingScenarios, MaxPainSwitchedOffRenumbersTheLinesAfterIt) {
  const json::Value report = Report(TestScenario("drawing_max_pain_toggle.json"));
  const std::vector<std::string> before = {
      "71000 21862.500000 'CW - Call Wall  P(touch) 13%'",  "71001 21243.750000 'PW - Put Wall  P(touch) 29%'",
      "71002 21456.750000 'GF - Gamma Flip  P(touch) 86%'", "71003 21420.750000 'VT/HVL - Vol Trigger  P(touch) 74%'",
      "71004 21450.000000 'MP - Max Pain  P(touch) 84%'",   "71005 22068.750000 'Call OI Wall  P(touch) 2%'",
      "71006 20625.000000 'Put OI Wall  P(touch) 0%'",      "71007 21388.500000 '0DEX - Zero DEX  P(touch) 64%'",
      "71008 21656.250000 'MAG - Gamma magnet - high'",     "71009 21367.500000 'SUP - Dealer support - medium'",
      "71010 21780.000000 'RES - Call resistance - low'",
  };
  const std::vector<std::string> after = {
      "71000 21862.500000 'CW - Call Wall  P(touch) 13%'",  "71001 21243.750000 'PW - Put Wall  P(touch) 29%'",
      "71002 21456.750000 'GF - Gamma Flip  P(touch) 86%'", "71003 21420.750000 'VT/HVL - Vol Trigger  P(touch) 74%'",
      "71004 22068.750000 'Call OI Wall  P(touch) 2%'",     "71005 20625.000000 'Put OI Wall  P(touch) 0%'",
      "71006 21388.500000 '0DEX - Zero DEX  P(touch) 64%'", "71007 21656.250000 'MAG - Gamma magnet - high'",
      "71008 21367.500000 'SUP - Dealer support - medium'", "71009 21780.000000 'RES - Call resistance - low'",
  };
  const auto core = [](const json::Value& dump) {
    std::vector<std::string> lines = LinesAndLabels(dump);
    std::erase_if(lines, [](const std::string& line) { return std::stoi(line.substr(0, 5)) > 71010; });
    return lines;
  };
  EXPECT_EQ(core(RequiredDump(report, "max pain on")), before);
  EXPECT_EQ(core(RequiredDump(report, "max pain off")), after) << "71010 must be deleted, not left over";
  EXPECT_EQ(core(RequiredDump(report, "max pain on again")), before);
  // Layers after the core lines keep their fixed numbers throughout.
  EXPECT_EQ(LinesAndLabels(RequiredDump(report, "max pain off")).size() + 1,
            LinesAndLabels(RequiredDump(report, "max pain on")).size());
}

// A snapshot that stops being valid removes every chart drawing on the next pass.
TEST(DrawingScenarios, SnapshotThatStopsBeingValidRemovesEveryChartDrawing) {
  // "Requested symbol" NQ -> ES changes the fetch key: the map is reset and ES is requested.
  const json::Value switched = Report(TestScenario("drawing_symbol_switch.json"));
  // A bar closing at 23000 puts spot 21500 6.52 % away (limit 2): the guard trips; a bar back
  // at 21500 clears it and the same map is drawn again.
  const json::Value guarded = Report(TestScenario("drawing_scale_guard.json"));
  struct Case {
    const char* name;
    const json::Value& report;
    const char* gone;  // the dump without chart drawings
    const char* back;  // the dump where they return, or nullptr
  };
  const Case cases[] = {
      {"symbol switch", switched, "switched", nullptr},
      {"scale guard", guarded, "tripped", "back"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> loaded = LinesAndLabels(RequiredDump(c.report, "loaded"));
    ASSERT_GE(loaded.size(), 30u) << c.name;
    EXPECT_EQ(loaded.front(), "71000 21862.500000 'CW - Call Wall  P(touch) 13%'") << c.name;
    EXPECT_TRUE(ChartDrawings(RequiredDump(c.report, c.gone)).empty()) << c.name;
    if (c.back) {
      EXPECT_EQ(LinesAndLabels(RequiredDump(c.report, c.back)), loaded) << c.name;
    }
  }

  const json::Value& requests = At(RequiredDump(switched, "switched"), {"requests"});
  ASSERT_EQ(requests.elements.size(), 2u);
  EXPECT_NE(At(requests.elements[1], {"url"}).text.find("/extension/levels?symbol=ES&"), std::string::npos)
      << At(requests.elements[1], {"url"}).text;

  const json::Value& log = At(RequiredDump(guarded, "tripped"), {"log"});
  ASSERT_EQ(log.elements.size(), 1u);
  EXPECT_EQ(At(log.elements[0], {"text"}).text,
            "Ordinel: Scale guard: payload spot 21500.00 vs chart 23000.00 (6.52% apart, limit 2.00%). "
            "Nothing drawn. Check the 'Requested symbol' input matches this chart.");
  EXPECT_TRUE(At(log.elements[0], {"show"}).boolean);
}

}  // namespace
