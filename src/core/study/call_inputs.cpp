#include "study/call_inputs.h"

#include <algorithm>

#include "research/research_session.h"

namespace study {
namespace {

constexpr int kDetailFull = 1;

std::string BasisToken(int index) {
  if (index == 1) return "settlement_oi";
  if (index == 2) return "estimated_oi";
  return "signed_flow";
}

std::string LevelsOrigin(const std::string& input) {
  std::string origin = calendar::TrimBlanks(input);
  while (!origin.empty() && origin.back() == '/') origin.pop_back();
  if (origin.empty()) return kDefaultLevelsOrigin;
  return origin;
}

draw::DrawSettings DrawSettingsOf(const InputValues& v) {
  const auto on = [&v](InputSlot slot) { return v.ints[slot] != 0; };
  draw::DrawSettings d;
  d.labelLines = on(kLabelLines);
  d.valueInPriceScale = on(kPriceScaleValues);
  d.lineWidth = v.ints[kLineWidth];
  d.exposureMode = v.ints[kExposureAmounts];
  d.forecastTouch = on(kForecastTouch);
  d.coreLevels = on(kDrawCoreLevels);
  d.volTrigger = on(kDrawVolTrigger);
  d.maxPain = on(kDrawMaxPain);
  d.oiWalls = on(kDrawOiWalls);
  d.zeroDex = on(kDrawZeroDex);
  d.focus = on(kDrawFocus);
  d.zoneBoundaries = on(kDrawZoneBoundaries);
  d.shadeZones = on(kShadeZones);
  d.topStrikes = on(kDrawTopStrikes);
  d.dailyVolZones = on(kDrawDailyVolZones);
  d.unstableCorridor = on(kShadeUnstableCorridor);
  d.ndxLevels = on(kDrawNdxLevels);
  d.vanna = on(kDrawVanna);
  d.charm = on(kDrawCharm);
  d.vegaWalls = on(kDrawVegaWalls);
  d.hybridWalls = on(kDrawHybridWalls);
  d.sessionRefs = on(kDrawSessionRefs);
  d.shadeOpeningRange = on(kShadeOpeningRange);
  d.overnight = on(kDrawOvernight);
  d.vwapBands = on(kDrawVwapBands);
  d.tradingRanges = on(kDrawTradingRanges);
  d.ivBand = on(kDrawIvBand);
  d.ivHorizonMinutes = v.ints[kIvHorizonMinutes];
  d.regimeTint = on(kRegimeTint);
  d.wallExtenders = v.ints[kWallExtenders];
  d.forecastBand = on(kForecastBand);
  d.zeroGammaModel = on(kZeroGammaModel);
  d.ivWalls = on(kIvWalls);
  d.gexProfile = on(kGexProfile);
  d.gexHeatmap = on(kGexHeatmap);
  d.charmMap = on(kCharmMap);
  d.deltaMap = on(kDeltaMap);
  d.vannaMap = on(kVannaMap);
  d.vegaMap = on(kVegaMap);
  d.heatmapMaxOpacity = v.ints[kHeatmapMaxOpacity];
  d.heatmapMinStrength = v.ints[kHeatmapMinStrength];
  d.showPanel = on(kShowPanel);
  d.colours = v.colours;
  return d;
}

research::ResearchPanelInputs ResearchInputsOf(const InputValues& v, const std::string& today) {
  research::ResearchPanelInputs r;
  r.captureChanges = v.ints[kCaptureChanges] != 0;
  r.expiryLens = v.ints[kExpiryLens] != 0;
  r.levelInspector = v.ints[kLevelInspector] != 0;
  r.workflowPreset = v.ints[kWorkflowPreset];
  r.lensIndex = v.ints[kExpirySelection];
  r.inspectorStrikeText = v.texts[kInspectorStrike];
  r.researchDay = research::ResearchDay(v.texts[kResearchDay], today);
  return r;
}

}  // namespace

InputValues ReadInputValues(const host::StudyHost& sc) {
  InputValues values;
  for (const InputRow& row : kInputTable) {
    switch (row.kind) {
      case host::InputKind::kText: values.texts[row.slot] = sc.ReadInputText(row.slot); break;
      case host::InputKind::kFloat: values.floats[row.slot] = sc.ReadInputFloat(row.slot); break;
      default: values.ints[row.slot] = sc.ReadInputInt(row.slot); break;
    }
  }
  for (int n = 0; n < palette::kSubgraphCount; ++n) values.colours[n] = sc.SubgraphColour(n);
  return values;
}

panel::PanelSettings PanelSettingsOf(const InputValues& v) {
  panel::PanelSettings p;
  p.show = v.ints[kShowPanel] != 0;
  p.workflowPreset = v.ints[kWorkflowPreset];
  p.render.anchorIndex = v.ints[kPanelAnchor];
  p.render.fontSize = v.ints[kPanelFontSize];
  p.render.lineSpacing = v.floats[kPanelLineSpacing];
  p.render.opacity = v.ints[kPanelOpacity];
  p.render.widthBars = v.ints[kPanelWidthBars];
  p.render.wrapColumns = v.ints[kPanelWrapColumns];
  p.render.wrap = v.ints[kWrapPanelText] != 0;
  p.content.fullDetail = v.ints[kPanelDetail] == kDetailFull;
  p.content.fear = v.ints[kFearScore] != 0;
  p.content.drift = v.ints[kPremiumDrift] != 0;
  p.content.forecast = v.ints[kForecastTouch] != 0;
  p.content.textColour = v.colours[palette::kSgPanelText];
  p.content.warningColour = v.colours[palette::kSgPanelWarning];
  return p;
}

CallInputs BuildCallInputs(const InputValues& v, const std::string& newYorkToday) {
  CallInputs in;
  in.verbose = v.ints[kVerboseLog] != 0;
  in.requestedSymbolIndex = v.ints[kRequestedSymbol];
  in.refreshInterval = std::max<double>(v.ints[kRefreshInterval], kMinRefreshSeconds);
  in.lockedMode = v.ints[kSnapshotMode] == 0;
  in.extended = v.ints[kExtendedLevels] != 0;
  in.basisToken = BasisToken(v.ints[kGexBasis]);
  in.esSourceIndex = v.ints[kEsOptionsSource];
  in.fearScore = v.ints[kFearScore] != 0;
  in.topStrikesCount = v.ints[kTopStrikesCount];
  in.modelZeroGammaAsFlip = v.ints[kModelZeroGammaAsFlip] != 0;
  in.scaleGuardLimit = v.floats[kScaleGuardLimit];
  in.structuralAlerts = v.ints[kStructuralAlerts] != 0;
  in.alertCooldown = v.ints[kAlertCooldown];
  in.levelsOrigin = LevelsOrigin(v.texts[kApiBaseUrl]);
  in.selection = calendar::BuildExpirySelection(static_cast<uint32_t>(v.ints[kCoreExpirations]),
                                                v.texts[kCoreMultiSubset], v.texts[kCoreSpecificExpiration],
                                                newYorkToday);
  in.researchRequest = v.ints[kResearchRequest];
  in.draw = DrawSettingsOf(v);
  in.panel = PanelSettingsOf(v);
  in.research = ResearchInputsOf(v, newYorkToday);
  return in;
}

std::string FetchKey(const std::string& apiSymbol, const CallInputs& in) {
  return apiSymbol + "|" + in.basisToken + "|" + std::to_string(in.esSourceIndex) + "|" +
         (in.lockedMode ? "1" : "0") + "|" + (in.extended ? "1" : "0") + "|" +
         calendar::ExpirySelectionKey(in.selection);
}

}  // namespace study
