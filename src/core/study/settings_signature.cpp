#include "study/settings_signature.h"

#include <cmath>
#include <cstdint>

#include "study/input_table.h"

namespace study {
namespace {

// Inputs in the order they are mixed, before the two texts. Yes/no, choice and integer inputs
// mix as their integer; the two float inputs (line spacing, scale guard) mix scaled.
struct Item {
  int slot;
  bool scaledFloat = false;
  constexpr Item(int s) : slot(s) {}  // NOLINT: the table reads best with bare slots
  constexpr Item(int s, bool f) : slot(s), scaledFloat(f) {}
};

constexpr Item kLeadingItems[] = {
    kRequestedSymbol,
    kSnapshotMode,
    kRefreshInterval,
    kExtendedLevels,
    kGexBasis,
    kEsOptionsSource,
    kDrawCoreLevels,
    kDrawVolTrigger,
    kDrawMaxPain,
    kDrawOiWalls,
    kDrawZeroDex,
    kDrawFocus,
    kDrawZoneBoundaries,
    kShadeZones,
    kDrawDailyVolZones,
    kShadeUnstableCorridor,
    kDrawNdxLevels,
    kDrawVanna,
    kDrawCharm,
    kDrawVegaWalls,
    kDrawHybridWalls,
    kDrawSessionRefs,
    kShadeOpeningRange,
    kDrawOvernight,
    kDrawVwapBands,
    kDrawTradingRanges,
    kDrawIvBand,
    kIvHorizonMinutes,
    kRegimeTint,
    kWallExtenders,
    kDrawTopStrikes,
    kTopStrikesCount,
    kShowPanel,
    kPanelAnchor,
    kPanelFontSize,
    {kPanelLineSpacing, true},
    kPanelOpacity,
    kPanelWidthBars,
    kPanelWrapColumns,
    kWrapPanelText,
    kPanelDetail,
    kFearScore,
    {kScaleGuardLimit, true},
    kLabelLines,
    kLineWidth,
    kPriceScaleValues,
    kGexHeatmap,
    kCharmMap,
    kDeltaMap,
    kVannaMap,
    kVegaMap,
    kPremiumDrift,
    kForecastTouch,
    kForecastBand,
    kZeroGammaModel,
    kModelZeroGammaAsFlip,
    kGexProfile,
    kIvWalls,
    kHeatmapMaxOpacity,
    kHeatmapMinStrength,
    kExposureAmounts,
    kWorkflowPreset,
    kCaptureChanges,
    kExpiryLens,
    kLevelInspector,
    kResearchRequest,
    kExpirySelection,
};

}  // namespace

uint32_t MixItem(uint32_t hash, uint32_t item) { return (hash ^ item) * kFnvPrime; }

uint32_t MixBytes(uint32_t hash, std::string_view text) {
  for (unsigned char byte : text) hash = MixItem(hash, byte);
  return hash;
}

uint32_t ScaledFloatItem(double value) {
  const double scaled = std::round(value * 1000.0);  // std::round rounds halves away from zero
  if (!std::isfinite(scaled)) return 0;
  if (scaled >= 2147483647.0) return static_cast<uint32_t>(INT32_MAX);
  if (scaled <= -2147483648.0) return static_cast<uint32_t>(INT32_MIN);
  return static_cast<uint32_t>(static_cast<int32_t>(scaled));
}

uint32_t SettingsSignature(const InputValues& values) {
  uint32_t h = kFnvOffsetBasis;
  for (const Item& item : kLeadingItems) {
    h = MixItem(h, item.scaledFloat ? ScaledFloatItem(values.floats[item.slot])
                                    : static_cast<uint32_t>(values.ints[item.slot]));
  }
  // Each text ends with its length, so moving characters from one text to the next changes
  // the signature.
  for (const InputSlot slot : {kInspectorStrike, kResearchDay}) {
    h = MixBytes(h, values.texts[slot]);
    h = MixItem(h, static_cast<uint32_t>(values.texts[slot].size()));
  }
  h = MixItem(h, static_cast<uint32_t>(values.ints[kStructuralAlerts]));
  h = MixItem(h, static_cast<uint32_t>(values.ints[kAlertCooldown]));
  for (const host::Rgb colour : values.colours) h = MixItem(h, host::PackedColour(colour));
  return h;
}

}  // namespace study
