// References from the trading sessions: prior day, opening range, overnight inventory, VWAP
// bands and the Asia / London / New York AM ranges.
#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

using palette::LineNumber;

constexpr int kSessionBandTransparency = 94;
constexpr int kTradingRangeCount = 3;

static_assert(1 + 2 * payload::kVwapBandCount <= palette::LineCount(palette::kLbVwap));
static_assert(kTradingRangeCount <= palette::LineCount(palette::kLbTradingRangeBands));
static_assert(kTradingRangeCount <= palette::LineCount(palette::kLbTradingRangeTops));

}  // namespace

void DrawSessionReferences(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.sessionRefs) return;
  const int subgraph = palette::kSgSessionRef;
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbPriorDayHigh), s.priorDayHigh, subgraph, 2, "PDH");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbPriorDayLow), s.priorDayLow, subgraph, 2, "PDL");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbRthOpen), s.rthOpen, subgraph, 2, "RTH OPEN");
  const payload::ZoneBand& range = s.openingRange;
  if (!range.valid) return;
  DrawOverlayLine(pass, LineNumber(palette::kLbOpeningRangeHigh), range.high, subgraph, 2, "OR HIGH");
  DrawOverlayLine(pass, LineNumber(palette::kLbOpeningRangeLow), range.low, subgraph, 2, "OR LOW");
  if (pass.settings.shadeOpeningRange) {
    DrawBand(pass, LineNumber(palette::kLbOpeningRangeShade), range.low, range.high,
             SubgraphColour(pass, subgraph), kSessionBandTransparency);
  }
}

void DrawOvernightInventory(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.overnight) return;
  const int subgraph = palette::kSgOvernight;
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbRthClose), s.priorRthClose, subgraph, 2, "RTH CLOSE");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbOvernightHigh), s.overnightHigh, subgraph, 2, "ONH");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbOvernightLow), s.overnightLow, subgraph, 2, "ONL");
}

void DrawVwapBands(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vwapBands) return;
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbVwap), s.vwap, palette::kSgVwapBand, 1, "VWAP");
  const host::Rgb colour = SubgraphColour(pass, palette::kSgVwapBand);
  // Positions 1-6 alternate plus and minus of bands 1, 2 and 3; band lines carry no label.
  for (int band = 0; band < payload::kVwapBandCount; ++band) {
    const payload::OptionalLevel* sides[] = {&s.vwapBandPlus[band], &s.vwapBandMinus[band]};
    for (int side = 0; side < 2; ++side) {
      if (!sides[side]->has) continue;
      DrawLevelLine(pass, {.lineNumber = LineNumber(palette::kLbVwap, 1 + 2 * band + side),
                           .price = sides[side]->value,
                           .colour = colour,
                           .width = 1,
                           .style = 2,
                           .label = "",
                           .labelOn = false});
    }
  }
}

void DrawTradingRanges(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.tradingRanges) return;
  const struct {
    const payload::ZoneBand& range;
    const char* label;
  } rows[kTradingRangeCount] = {{s.asiaRange, "ASIA"}, {s.londonRange, "LONDON"}, {s.nyAmRange, "NY AM"}};
  const host::Rgb colour = SubgraphColour(pass, palette::kSgIctRange);
  for (int i = 0; i < kTradingRangeCount; ++i) {
    const payload::ZoneBand& range = rows[i].range;
    if (!range.valid) continue;
    DrawBand(pass, LineNumber(palette::kLbTradingRangeBands, i), range.low, range.high, colour,
             kSessionBandTransparency);
    DrawOverlayLine(pass, LineNumber(palette::kLbTradingRangeTops, i), range.high, palette::kSgIctRange, 2,
                    rows[i].label);
  }
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbMidnightOpen), s.midnightOpen, palette::kSgIctRange,
                           2, "00:00 OPEN");
}

}  // namespace draw
