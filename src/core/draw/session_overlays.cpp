// References from the trading sessions: prior day, opening range, overnight inventory, VWAP
// bands and the Asia / London / New York AM ranges.
#include "draw/chart_layers.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

constexpr int kPriorDayHighLine = 71530;
constexpr int kPriorDayLowLine = 71531;
constexpr int kRthOpenLine = 71532;
constexpr int kOpeningRangeHighLine = 71533;
constexpr int kOpeningRangeLowLine = 71534;
constexpr int kOpeningRangeShadeLine = 71535;
constexpr int kRthCloseLine = 71537;
constexpr int kOvernightHighLine = 71538;
constexpr int kOvernightLowLine = 71539;
constexpr int kVwapLineBase = 71541;
constexpr int kRangeBandBase = 71550;
constexpr int kRangeTopLineBase = 71554;
constexpr int kMidnightOpenLine = 71558;
constexpr int kSessionBandTransparency = 94;

}  // namespace

void DrawSessionReferences(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.sessionRefs) return;
  DrawOverlayLineIfPresent(pass, kPriorDayHighLine, s.priorDayHigh, palette::kSgSessionRef, 2, "PDH");
  DrawOverlayLineIfPresent(pass, kPriorDayLowLine, s.priorDayLow, palette::kSgSessionRef, 2, "PDL");
  DrawOverlayLineIfPresent(pass, kRthOpenLine, s.rthOpen, palette::kSgSessionRef, 2, "RTH OPEN");
  const payload::ZoneBand& range = s.openingRange;
  if (!range.valid) return;
  DrawOverlayLine(pass, kOpeningRangeHighLine, range.high, palette::kSgSessionRef, 2, "OR HIGH");
  DrawOverlayLine(pass, kOpeningRangeLowLine, range.low, palette::kSgSessionRef, 2, "OR LOW");
  if (pass.settings.shadeOpeningRange) {
    DrawBand(pass, kOpeningRangeShadeLine, range.low, range.high, SubgraphColour(pass, palette::kSgSessionRef),
             kSessionBandTransparency);
  }
}

void DrawOvernightInventory(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.overnight) return;
  DrawOverlayLineIfPresent(pass, kRthCloseLine, s.priorRthClose, palette::kSgOvernight, 2, "RTH CLOSE");
  DrawOverlayLineIfPresent(pass, kOvernightHighLine, s.overnightHigh, palette::kSgOvernight, 2, "ONH");
  DrawOverlayLineIfPresent(pass, kOvernightLowLine, s.overnightLow, palette::kSgOvernight, 2, "ONL");
}

void DrawVwapBands(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vwapBands) return;
  DrawOverlayLineIfPresent(pass, kVwapLineBase, s.vwap, palette::kSgVwapBand, 1, "VWAP");
  const host::Rgb colour = SubgraphColour(pass, palette::kSgVwapBand);
  // Positions 1-6 alternate plus and minus of bands 1, 2 and 3; band lines carry no label.
  for (int band = 0; band < payload::kVwapBandCount; ++band) {
    const payload::OptionalLevel* sides[] = {&s.vwapBandPlus[band], &s.vwapBandMinus[band]};
    for (int side = 0; side < 2; ++side) {
      if (!sides[side]->has) continue;
      DrawLevelLine(pass, {.lineNumber = kVwapLineBase + 1 + 2 * band + side, .price = sides[side]->value,
                           .colour = colour, .width = 1, .style = 2, .label = "", .labelOn = false});
    }
  }
}

void DrawTradingRanges(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.tradingRanges) return;
  const struct {
    const payload::ZoneBand& range;
    const char* label;
  } rows[] = {{s.asiaRange, "ASIA"}, {s.londonRange, "LONDON"}, {s.nyAmRange, "NY AM"}};
  const host::Rgb colour = SubgraphColour(pass, palette::kSgIctRange);
  for (int i = 0; i < 3; ++i) {
    const payload::ZoneBand& range = rows[i].range;
    if (!range.valid) continue;
    DrawBand(pass, kRangeBandBase + i, range.low, range.high, colour, kSessionBandTransparency);
    DrawOverlayLine(pass, kRangeTopLineBase + i, range.high, palette::kSgIctRange, 2, rows[i].label);
  }
  DrawOverlayLineIfPresent(pass, kMidnightOpenLine, s.midnightOpen, palette::kSgIctRange, 2, "00:00 OPEN");
}

}  // namespace draw
