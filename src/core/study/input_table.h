// The study's 77 inputs in declaration order: the slot names the call's input reader uses and
// the one table of labels, kinds, defaults, ranges and choices the declaration call announces.
#pragma once

#include <optional>

#include "host/declarations.h"

namespace study {

enum InputSlot : int {
  kApiBaseUrl = 0,
  kRequestedSymbol = 1,
  kSnapshotMode = 2,
  kRefreshInterval = 3,
  kExtendedLevels = 4,
  kGexBasis = 5,
  kEsOptionsSource = 6,
  kWorkflowPreset = 7,
  kCaptureChanges = 8,
  kExpiryLens = 9,
  kLevelInspector = 10,
  kResearchDay = 11,
  kResearchRequest = 12,
  kExpirySelection = 13,
  kInspectorStrike = 14,
  kStructuralAlerts = 15,
  kAlertCooldown = 16,
  kDrawDailyVolZones = 17,
  kShadeUnstableCorridor = 18,
  kDrawNdxLevels = 19,
  kDrawVanna = 20,
  kDrawCharm = 21,
  kDrawVegaWalls = 22,
  kDrawHybridWalls = 23,
  kDrawSessionRefs = 24,
  kShadeOpeningRange = 25,
  kDrawOvernight = 26,
  kDrawVwapBands = 27,
  kDrawTradingRanges = 28,
  kDrawIvBand = 29,
  kIvHorizonMinutes = 30,
  kRegimeTint = 31,
  kWallExtenders = 32,
  kGexHeatmap = 33,
  kCharmMap = 34,
  kDeltaMap = 35,
  kVannaMap = 36,
  kVegaMap = 37,
  kPremiumDrift = 38,
  kGexProfile = 39,
  kIvWalls = 40,
  kHeatmapMaxOpacity = 41,
  kHeatmapMinStrength = 42,
  kExposureAmounts = 43,
  kForecastTouch = 44,
  kForecastBand = 45,
  kZeroGammaModel = 46,
  kModelZeroGammaAsFlip = 47,
  kDrawCoreLevels = 48,
  kDrawVolTrigger = 49,
  kDrawMaxPain = 50,
  kDrawOiWalls = 51,
  kDrawZeroDex = 52,
  kDrawFocus = 53,
  kDrawZoneBoundaries = 54,
  kShadeZones = 55,
  kDrawTopStrikes = 56,
  kTopStrikesCount = 57,
  kShowPanel = 58,
  kPanelAnchor = 59,
  kPanelFontSize = 60,
  kPanelLineSpacing = 61,
  kPanelOpacity = 62,
  kPanelWidthBars = 63,
  kPanelWrapColumns = 64,
  kWrapPanelText = 65,
  kCoreExpirations = 66,
  kCoreMultiSubset = 67,
  kCoreSpecificExpiration = 68,
  kPanelState = 69,
  kPanelDetail = 70,
  kFearScore = 71,
  kScaleGuardLimit = 72,
  kLabelLines = 73,
  kLineWidth = 74,
  kPriceScaleValues = 75,
  kVerboseLog = 76,
};
inline constexpr int kInputCount = 77;

// The levels service origin (https, no trailing slash): default of "API base URL".
inline constexpr const char* kDefaultLevelsOrigin = "https://levels.ordinel.app";

struct InputRow {
  InputSlot slot;
  const char* label;
  host::InputKind kind;
  double defaultNumber;     // yes/no 0 or 1, integer, float, or the choice index
  const char* defaultText;  // text inputs
  std::optional<double> min;
  std::optional<double> max;
  const char* choices;  // ';'-separated, choice inputs only
};

inline constexpr InputRow kInputTable[kInputCount] = {
    {kApiBaseUrl, "API base URL", host::InputKind::kText, 0, kDefaultLevelsOrigin, {}, {}, ""},
    {kRequestedSymbol, "Requested symbol", host::InputKind::kChoice, 0, "", {}, {}, "AUTO;NQ;ES;QQQ;SPY;GC;SI;GLD;SLV;SPX;NDX"},
    {kSnapshotMode, "Snapshot mode", host::InputKind::kChoice, 0, "", {}, {}, "Locked at open;Dynamic (live)"},
    {kRefreshInterval, "Refresh interval (seconds)", host::InputKind::kInteger, 180, "", 180, 3600, ""},
    {kExtendedLevels, "Request extended levels (extended=1)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kGexBasis, "GEX basis (Signed-Flow live; others prepared)", host::InputKind::kChoice, 0, "", {}, {}, "Signed-Flow;Settlement OI;Estimated OI"},
    {kEsOptionsSource, "ES options source (SPY / SPX)", host::InputKind::kChoice, 0, "", {}, {}, "SPY;SPX"},
    {kWorkflowPreset, "Workflow preset (Advanced keeps saved display)", host::InputKind::kChoice, 0, "", {}, {}, "Advanced;Execution;Positioning;Research"},
    {kCaptureChanges, "Positioning capture changes", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kExpiryLens, "Expiry lens", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kLevelInspector, "Level inspector", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kResearchDay, "Research day YYYY-MM-DD (blank = New York today)", host::InputKind::kText, 0, "", {}, {}, ""},
    {kResearchRequest, "Research request (change positive value to GET once)", host::InputKind::kInteger, 0, "", {}, {}, ""},
    {kExpirySelection, "Expiry selection", host::InputKind::kChoice, 0, "", {}, {}, "0DTE;Week through Friday;Next available third Friday;Available expiries"},
    {kInspectorStrike, "Inspector exact UNDERLYING strike", host::InputKind::kText, 0, "", {}, {}, ""},
    {kStructuralAlerts, "Structural alerts (successful live captures only)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kAlertCooldown, "Structural alert cooldown seconds (min 30)", host::InputKind::kInteger, 300, "", {}, {}, ""},
    {kDrawDailyVolZones, "Draw Daily Volatility Zones (expected-move bands)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kShadeUnstableCorridor, "Shade unstable corridor (Vol Trigger <-> Gamma Flip)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawNdxLevels, "Draw NDX companion levels (NQ charts)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawVanna, "Draw Vanna walls + Vanna flip", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawCharm, "Draw Charm zones + Charm flip", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawVegaWalls, "Draw Vega walls", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawHybridWalls, "Draw Hybrid observed walls", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawSessionRefs, "Draw session refs (PDH/PDL, RTH open, opening range)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kShadeOpeningRange, "Shade the opening range", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawOvernight, "Draw overnight inventory (RTH close, ONH, ONL)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawVwapBands, "Draw session VWAP +/- sigma bands", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawTradingRanges, "Draw ICT session ranges (Asia/London/NY AM)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawIvBand, "Draw live IV expected-move band", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kIvHorizonMinutes, "IV expected-move horizon (minutes, 15-390)", host::InputKind::kInteger, 60, "", {}, {}, ""},
    {kRegimeTint, "Regime tint around the Gamma Flip (approx. +/-2% band)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kWallExtenders, "Wall extenders (gamma strikes beyond the walls)", host::InputKind::kChoice, 0, "", {}, {}, "Off;1 per side;2 per side;3 per side"},
    {kGexHeatmap, "GEX heatmap over the chart (net gamma per strike)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kCharmMap, "Charm map over the chart (net charm per strike)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDeltaMap, "Delta (DEX) map over the chart (net delta per strike)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kVannaMap, "Vanna map over the chart (net vanna per strike)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kVegaMap, "Vega map over the chart (net vega per strike)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kPremiumDrift, "Net premium drift in panel", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kGexProfile, "GEX profile on the right edge", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kIvWalls, "IV walls (OI-weighted IV concentration)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kHeatmapMaxOpacity, "Heatmap maximum opacity (%)", host::InputKind::kInteger, 20, "", 1, 60, ""},
    {kHeatmapMinStrength, "Heatmap minimum strength (%)", host::InputKind::kInteger, 0, "", 0, 95, ""},
    {kExposureAmounts, "Exposure amounts beside prices", host::InputKind::kChoice, 0, "", {}, {}, "Off;Gamma (GEX);Delta (DEX);Gamma + Delta"},
    {kForecastTouch, "Forecast P(touch) + hedging (needs extended)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kForecastBand, "Forecast band p16-p84 (needs extended)", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kZeroGammaModel, "Zero Gamma (model) line + band", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kModelZeroGammaAsFlip, "Use model zero gamma as Gamma Flip", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawCoreLevels, "Draw core levels (Call/Put Wall, Gamma Flip)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawVolTrigger, "Draw Vol Trigger", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawMaxPain, "Draw Max Pain", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawOiWalls, "Draw OI Walls", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawZeroDex, "Draw Zero DEX", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kDrawFocus, "Draw Focus 1-3", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawZoneBoundaries, "Draw zone boundaries (Battle / clusters)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kShadeZones, "Shade zones (extending rectangle)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kDrawTopStrikes, "Draw top strikes as lines", host::InputKind::kYesNo, 0, "", {}, {}, ""},
    {kTopStrikesCount, "Top strikes count", host::InputKind::kInteger, 10, "", 1, 40, ""},
    {kShowPanel, "Show info panel", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kPanelAnchor, "Panel anchor", host::InputKind::kChoice, 0, "", {}, {}, "Top left;Top right;Bottom left;Bottom right"},
    {kPanelFontSize, "Panel font size", host::InputKind::kInteger, 9, "", 6, 24, ""},
    {kPanelLineSpacing, "Panel line spacing (% of chart height)", host::InputKind::kFloat, 2.4, "", 0.5, 12, ""},
    {kPanelOpacity, "Panel background opacity % (100 = solid)", host::InputKind::kInteger, 85, "", 0, 100, ""},
    {kPanelWidthBars, "Panel width (visible bars, not pixels)", host::InputKind::kInteger, 55, "", 10, 250, ""},
    {kPanelWrapColumns, "Panel wrap columns (also bounded by visible width)", host::InputKind::kInteger, 64, "", 12, 120, ""},
    {kWrapPanelText, "Wrap info panel text", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kCoreExpirations, "Core expirations (legacy default)", host::InputKind::kChoice, 0, "", {}, {}, "Legacy;Multi (all or CSV subset);Specific date;0DTE (New York session)"},
    {kCoreMultiSubset, "Core multi subset (YYYY-MM-DD comma separated; blank = all)", host::InputKind::kText, 0, "", {}, {}, ""},
    {kCoreSpecificExpiration, "Core specific expiration (YYYY-MM-DD)", host::InputKind::kText, 0, "", {}, {}, ""},
    {kPanelState, "Panel state (managed by the panel buttons)", host::InputKind::kText, 0, "", {}, {}, ""},
    {kPanelDetail, "Panel detail", host::InputKind::kChoice, 1, "", {}, {}, "Compact;Full"},
    {kFearScore, "Fear score (fetches VIX and QQQ closes, no key, no cost)", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kScaleGuardLimit, "Scale guard: max spot vs chart deviation (%)", host::InputKind::kFloat, 2, "", 0.1, 50, ""},
    {kLabelLines, "Label lines on the chart", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kLineWidth, "Line width", host::InputKind::kInteger, 1, "", 1, 8, ""},
    {kPriceScaleValues, "Show level values in the price scale", host::InputKind::kYesNo, 1, "", {}, {}, ""},
    {kVerboseLog, "Verbose Message Log", host::InputKind::kYesNo, 0, "", {}, {}, ""},
};

constexpr bool InputTableInOrder() {
  for (int slot = 0; slot < kInputCount; ++slot) {
    if (kInputTable[slot].slot != slot) return false;
  }
  return true;
}
static_assert(InputTableInOrder(), "row n of the input table declares slot n");

}  // namespace study
