#include "study/study_declarations.h"

#include <algorithm>
#include <optional>
#include <iterator>

#include "study/study_entry.h"
#include "study/study_inputs.h"

namespace study {
namespace {

using host::InputDeclaration;
using host::InputKind;
using host::SubgraphDeclaration;

constexpr const char* kStudyDescription =
    "Ordinel - dealer gamma positioning map (call wall, put wall, gamma flip, vol trigger, max "
    "pain, focus levels, battle zone, top strikes by |GEX|, regime quadrant and the 12-year fear "
    "score), served by the Ordinel API. Descriptive market-structure context - not investment "
    "advice.";

// The platform's draw style code for subgraphs that only carry values and colours.
constexpr int kSubgraphDrawStyle = 5;

struct InputRow {
  const char* label;
  InputKind kind;
  double defaultNumber;
  const char* defaultText;
  std::optional<double> min;
  std::optional<double> max;
  const char* choices;
};

const InputRow kInputs[kInputCount] = {
    {"API base URL", InputKind::kText, 0, kDefaultLevelsOrigin, {}, {}, ""},
    {"Requested symbol", InputKind::kChoice, 0, "", {}, {}, "AUTO;NQ;ES;QQQ;SPY;GC;SI;GLD;SLV;SPX;NDX"},
    {"Snapshot mode", InputKind::kChoice, 0, "", {}, {}, "Locked at open;Dynamic (live)"},
    {"Refresh interval (seconds)", InputKind::kInteger, 180, "", 180, 3600, ""},
    {"Request extended levels (extended=1)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"GEX basis (Signed-Flow live; others prepared)", InputKind::kChoice, 0, "", {}, {}, "Signed-Flow;Settlement OI;Estimated OI"},
    {"ES options source (SPY / SPX)", InputKind::kChoice, 0, "", {}, {}, "SPY;SPX"},
    {"Workflow preset (Advanced keeps saved display)", InputKind::kChoice, 0, "", {}, {}, "Advanced;Execution;Positioning;Research"},
    {"Positioning capture changes", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Expiry lens", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Level inspector", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Research day YYYY-MM-DD (blank = New York today)", InputKind::kText, 0, "", {}, {}, ""},
    {"Research request (change positive value to GET once)", InputKind::kInteger, 0, "", {}, {}, ""},
    {"Expiry selection", InputKind::kChoice, 0, "", {}, {}, "0DTE;Week through Friday;Next available third Friday;Available expiries"},
    {"Inspector exact UNDERLYING strike", InputKind::kText, 0, "", {}, {}, ""},
    {"Structural alerts (successful live captures only)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Structural alert cooldown seconds (min 30)", InputKind::kInteger, 300, "", {}, {}, ""},
    {"Draw Daily Volatility Zones (expected-move bands)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Shade unstable corridor (Vol Trigger <-> Gamma Flip)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw NDX companion levels (NQ charts)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw Vanna walls + Vanna flip", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw Charm zones + Charm flip", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw Vega walls", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw Hybrid observed walls", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw session refs (PDH/PDL, RTH open, opening range)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Shade the opening range", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw overnight inventory (RTH close, ONH, ONL)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw session VWAP +/- sigma bands", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw ICT session ranges (Asia/London/NY AM)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw live IV expected-move band", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"IV expected-move horizon (minutes, 15-390)", InputKind::kInteger, 60, "", {}, {}, ""},
    {"Regime tint around the Gamma Flip (approx. +/-2% band)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Wall extenders (gamma strikes beyond the walls)", InputKind::kChoice, 0, "", {}, {}, "Off;1 per side;2 per side;3 per side"},
    {"GEX heatmap over the chart (net gamma per strike)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Charm map over the chart (net charm per strike)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Delta (DEX) map over the chart (net delta per strike)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Vanna map over the chart (net vanna per strike)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Vega map over the chart (net vega per strike)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Net premium drift in panel", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"GEX profile on the right edge", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"IV walls (OI-weighted IV concentration)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Heatmap maximum opacity (%)", InputKind::kInteger, 20, "", 1, 60, ""},
    {"Heatmap minimum strength (%)", InputKind::kInteger, 0, "", 0, 95, ""},
    {"Exposure amounts beside prices", InputKind::kChoice, 0, "", {}, {}, "Off;Gamma (GEX);Delta (DEX);Gamma + Delta"},
    {"Forecast P(touch) + hedging (needs extended)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Forecast band p16-p84 (needs extended)", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Zero Gamma (model) line + band", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Use model zero gamma as Gamma Flip", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw core levels (Call/Put Wall, Gamma Flip)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw Vol Trigger", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw Max Pain", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw OI Walls", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw Zero DEX", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Draw Focus 1-3", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw zone boundaries (Battle / clusters)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Shade zones (extending rectangle)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Draw top strikes as lines", InputKind::kYesNo, 0, "", {}, {}, ""},
    {"Top strikes count", InputKind::kInteger, 10, "", 1, 40, ""},
    {"Show info panel", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Panel anchor", InputKind::kChoice, 0, "", {}, {}, "Top left;Top right;Bottom left;Bottom right"},
    {"Panel font size", InputKind::kInteger, 9, "", 6, 24, ""},
    {"Panel line spacing (% of chart height)", InputKind::kFloat, 2.4, "", 0.5, 12, ""},
    {"Panel background opacity % (100 = solid)", InputKind::kInteger, 85, "", 0, 100, ""},
    {"Panel width (visible bars, not pixels)", InputKind::kInteger, 55, "", 10, 250, ""},
    {"Panel wrap columns (also bounded by visible width)", InputKind::kInteger, 64, "", 12, 120, ""},
    {"Wrap info panel text", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Core expirations (legacy default)", InputKind::kChoice, 0, "", {}, {}, "Legacy;Multi (all or CSV subset);Specific date;0DTE (New York session)"},
    {"Core multi subset (YYYY-MM-DD comma separated; blank = all)", InputKind::kText, 0, "", {}, {}, ""},
    {"Core specific expiration (YYYY-MM-DD)", InputKind::kText, 0, "", {}, {}, ""},
    {"Panel state (managed by the panel buttons)", InputKind::kText, 0, "", {}, {}, ""},
    {"Panel detail", InputKind::kChoice, 1, "", {}, {}, "Compact;Full"},
    {"Fear score (fetches VIX and QQQ closes, no key, no cost)", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Scale guard: max spot vs chart deviation (%)", InputKind::kFloat, 2, "", 0.1, 50, ""},
    {"Label lines on the chart", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Line width", InputKind::kInteger, 1, "", 1, 8, ""},
    {"Show level values in the price scale", InputKind::kYesNo, 1, "", {}, {}, ""},
    {"Verbose Message Log", InputKind::kYesNo, 0, "", {}, {}, ""},
};

struct SubgraphRow {
  const char* name;
  host::Rgb colour;
};

const SubgraphRow kSubgraphs[kSubgraphCount] = {
    {"Call Wall", {115, 240, 176}},
    {"Put Wall", {255, 139, 139}},
    {"Gamma Flip", {246, 180, 95}},
    {"Vol Trigger", {177, 140, 255}},
    {"Max Pain", {206, 212, 224}},
    {"Call OI Wall", {115, 240, 176}},
    {"Put OI Wall", {255, 139, 139}},
    {"Zero DEX", {94, 214, 224}},
    {"Focus 1", {105, 194, 255}},
    {"Focus 2", {105, 194, 255}},
    {"Focus 3", {105, 194, 255}},
    {"Battle Zone", {105, 194, 255}},
    {"Upside Cluster", {115, 240, 176}},
    {"Downside Cluster", {255, 139, 139}},
    {"Top Strike", {150, 160, 178}},
    {"Spot", {200, 208, 222}},
    {"Panel text", {220, 226, 238}},
    {"Panel warning", {255, 139, 139}},
    {"Daily Vol Zone", {246, 180, 95}},
    {"Unstable Corridor", {255, 170, 120}},
    {"NDX Level", {160, 150, 220}},
    {"Vanna Wall", {209, 140, 255}},
    {"Charm Zone", {255, 159, 122}},
    {"Vega Wall", {94, 214, 224}},
    {"Hybrid Wall", {230, 200, 120}},
    {"Session Ref", {159, 180, 255}},
    {"Overnight", {185, 140, 240}},
    {"VWAP Band", {127, 209, 174}},
    {"ICT Range", {255, 140, 90}},
    {"IV Zone", {140, 190, 230}},
    {"Regime Tint Long", {115, 240, 176}},
    {"Regime Tint Short", {255, 139, 139}},
    {"Wall Extender (call side)", {115, 240, 176}},
    {"Wall Extender (put side)", {255, 139, 139}},
    {"GEX Heatmap +", {115, 240, 176}},
    {"GEX Heatmap -", {255, 139, 139}},
    {"Charm Map +", {120, 214, 224}},
    {"Charm Map -", {230, 169, 74}},
    {"Delta Map +", {150, 120, 255}},
    {"Delta Map -", {255, 110, 110}},
    {"Vanna Map +", {209, 140, 255}},
    {"Vanna Map -", {255, 159, 122}},
    {"Vega Map +", {120, 220, 200}},
    {"Vega Map -", {255, 150, 170}},
};

}  // namespace

host::InputDeclaration InputDeclarationAt(int slot) {
  const InputRow& row = kInputs[slot];
  return InputDeclaration{row.label, row.kind, row.defaultNumber, row.defaultText, row.min, row.max,
                          row.choices};
}

host::SubgraphDeclaration SubgraphDeclarationAt(int number) {
  return SubgraphDeclaration{kSubgraphs[number].name, kSubgraphDrawStyle, kSubgraphs[number].colour, 1};
}

void DeclareStudy(host::StudyHost& sc) {
  host::StudyDeclaration study;
  study.name = kDllName;
  study.description = kStudyDescription;
  study.graphRegion = 0;
  std::copy(std::begin(host::kStudyHostSettings), std::end(host::kStudyHostSettings),
            study.hostSettings);
  sc.DeclareStudy(study);
  for (int slot = 0; slot < kInputCount; ++slot) sc.DeclareInput(slot, InputDeclarationAt(slot));
  for (int n = 0; n < kSubgraphCount; ++n) sc.DeclareSubgraph(n, SubgraphDeclarationAt(n));
}

}  // namespace study
