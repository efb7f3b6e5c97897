// The study's line-number plan: every drawing it submits keeps a fixed number, its identity for
// replacement and deletion, and this one table gives each chart layer and panel part its block.
#pragma once

namespace palette {

// The blocks of the plan, in ascending order of their numbers.
enum LineBlock : int {
  kLbCoreLevels = 0,
  kLbZoneBounds,
  kLbZoneShades,
  kLbUnstableCorridor,
  kLbDailyVolZones,
  kLbNdxLevels,
  kLbTopStrikes,
  kLbPanelTitle,
  kLbPanelContent,
  kLbPanelBackground,
  kLbPanelControls,
  kLbPanelTabs,
  kLbVannaWalls,
  kLbVannaFlip,
  kLbCharmZones,
  kLbCharmFlip,
  kLbVegaWalls,
  kLbHybridCallWall,
  kLbHybridPutWall,
  kLbHybridVolTrigger,
  kLbPriorDayHigh,
  kLbPriorDayLow,
  kLbRthOpen,
  kLbOpeningRangeHigh,
  kLbOpeningRangeLow,
  kLbOpeningRangeShade,
  kLbRthClose,
  kLbOvernightHigh,
  kLbOvernightLow,
  kLbVwap,
  kLbTradingRangeBands,
  kLbTradingRangeTops,
  kLbMidnightOpen,
  kLbIvBand,
  kLbIvUpperLine,
  kLbIvLowerLine,
  kLbRegimeTintLong,
  kLbRegimeTintShort,
  kLbPutExtenders,
  kLbCallExtenders,
  kLbGexHeatmap,
  kLbCharmMap,
  kLbDeltaMap,
  kLbVannaMap,
  kLbVegaMap,
  kLbForecastBand,
  kLbModelZeroGamma,
  kLbModelZeroGammaBand,
  kLbGammaProfile,
  kLbIvCallWall,
  kLbIvPutWall,
  kLineBlockCount
};

// Who draws at a block's numbers: a chart layer or a part of the info panel.
enum LineOwner : int { kChartLayer, kPanelPart };

// One block: its owner, first number, size and use.
struct LineBlockRow {
  LineBlock block;
  LineOwner owner;
  int first;
  int count;  // the most numbers the block's drawings can take
  const char* purpose;
};

// A run of line numbers, both ends included.
struct LineSpan {
  int first;
  int last;
};

// Every chart drawing lies in the chart span, outside the panel's.
inline constexpr LineSpan kChartLineSpan{71000, 72101};
inline constexpr LineSpan kPanelLineSpan{71400, 71483};

// The plan itself; row n describes block n.
inline constexpr LineBlockRow kLinePlan[kLineBlockCount] = {
    {kLbCoreLevels, kChartLayer, 71000, 11, "core levels, then focus levels, numbered as drawn"},
    {kLbZoneBounds, kChartLayer, 71100, 6, "high then low of each drawn zone"},
    {kLbZoneShades, kChartLayer, 71130, 3, "shading of upside cluster, battle zone, downside cluster"},
    {kLbUnstableCorridor, kChartLayer, 71134, 1, "unstable corridor band"},
    {kLbDailyVolZones, kChartLayer, 71136, 7, "vol anchor, then plus and minus of each multiplier"},
    {kLbNdxLevels, kChartLayer, 71144, 3, "NDX call wall, put wall, gamma flip, numbered as drawn"},
    {kLbTopStrikes, kChartLayer, 71200, 40, "top strikes by row"},
    {kLbPanelTitle, kPanelPart, 71400, 1, "panel title, or the hidden panel's label"},
    {kLbPanelContent, kPanelPart, 71401, 52, "panel content lines as drawn"},
    {kLbPanelBackground, kPanelPart, 71459, 1, "panel background"},
    {kLbPanelControls, kPanelPart, 71460, 5, "panel control buttons"},
    {kLbPanelTabs, kPanelPart, 71480, 4, "panel tab buttons"},
    {kLbVannaWalls, kChartLayer, 71500, 8, "vanna walls"},
    {kLbVannaFlip, kChartLayer, 71508, 1, "vanna flip"},
    {kLbCharmZones, kChartLayer, 71510, 6, "charm zones"},
    {kLbCharmFlip, kChartLayer, 71516, 1, "charm flip"},
    {kLbVegaWalls, kChartLayer, 71518, 6, "vega walls"},
    {kLbHybridCallWall, kChartLayer, 71525, 1, "hybrid call wall"},
    {kLbHybridPutWall, kChartLayer, 71526, 1, "hybrid put wall"},
    {kLbHybridVolTrigger, kChartLayer, 71527, 1, "hybrid vol trigger"},
    {kLbPriorDayHigh, kChartLayer, 71530, 1, "prior day high"},
    {kLbPriorDayLow, kChartLayer, 71531, 1, "prior day low"},
    {kLbRthOpen, kChartLayer, 71532, 1, "RTH open"},
    {kLbOpeningRangeHigh, kChartLayer, 71533, 1, "opening range high"},
    {kLbOpeningRangeLow, kChartLayer, 71534, 1, "opening range low"},
    {kLbOpeningRangeShade, kChartLayer, 71535, 1, "opening range shading"},
    {kLbRthClose, kChartLayer, 71537, 1, "prior RTH close"},
    {kLbOvernightHigh, kChartLayer, 71538, 1, "overnight high"},
    {kLbOvernightLow, kChartLayer, 71539, 1, "overnight low"},
    {kLbVwap, kChartLayer, 71541, 7, "VWAP, then plus and minus of sigma bands 1-3"},
    {kLbTradingRangeBands, kChartLayer, 71550, 3, "Asia, London, New York AM range bands"},
    {kLbTradingRangeTops, kChartLayer, 71554, 3, "Asia, London, New York AM range top lines"},
    {kLbMidnightOpen, kChartLayer, 71558, 1, "midnight open"},
    {kLbIvBand, kChartLayer, 71560, 1, "live IV expected-move band"},
    {kLbIvUpperLine, kChartLayer, 71561, 1, "live IV band upper line"},
    {kLbIvLowerLine, kChartLayer, 71562, 1, "live IV band lower line"},
    {kLbRegimeTintLong, kChartLayer, 71564, 1, "regime tint above the gamma flip"},
    {kLbRegimeTintShort, kChartLayer, 71565, 1, "regime tint below the gamma flip"},
    {kLbPutExtenders, kChartLayer, 71570, 3, "put-side wall extenders, nearest the wall first"},
    {kLbCallExtenders, kChartLayer, 71573, 3, "call-side wall extenders, nearest the wall first"},
    {kLbGexHeatmap, kChartLayer, 71600, 40, "GEX heatmap cells"},
    {kLbCharmMap, kChartLayer, 71650, 40, "charm map cells"},
    {kLbDeltaMap, kChartLayer, 71700, 40, "delta map cells"},
    {kLbVannaMap, kChartLayer, 71750, 40, "vanna map cells"},
    {kLbVegaMap, kChartLayer, 71800, 40, "vega map cells"},
    {kLbForecastBand, kChartLayer, 71850, 1, "forecast band p16-p84"},
    {kLbModelZeroGamma, kChartLayer, 71851, 1, "model zero gamma line"},
    {kLbModelZeroGammaBand, kChartLayer, 71852, 1, "model zero gamma band"},
    {kLbGammaProfile, kChartLayer, 71900, 80, "gamma profile bars as drawn"},
    {kLbIvCallWall, kChartLayer, 72100, 1, "IV call wall"},
    {kLbIvPutWall, kChartLayer, 72101, 1, "IV put wall"},
};

// How many numbers `block` holds.
constexpr int LineCount(LineBlock block) { return kLinePlan[block].count; }

// The number at `index` of `block`, its first by default. Requires: 0 <= index < LineCount(block).
constexpr int LineNumber(LineBlock block, int index = 0) { return kLinePlan[block].first + index; }

// The block holding `number`, or kLineBlockCount when the plan gives it to none.
constexpr LineBlock LineBlockOf(int number) {
  for (const LineBlockRow& row : kLinePlan) {
    if (number >= row.first && number < row.first + row.count) return row.block;
  }
  return kLineBlockCount;
}

// True when row n is block n, holds at least one number and starts above row n - 1.
constexpr bool LinePlanInOrder() {
  for (int n = 0; n < kLineBlockCount; ++n) {
    if (kLinePlan[n].block != n || kLinePlan[n].count < 1) return false;
    if (n > 0 && kLinePlan[n].first <= kLinePlan[n - 1].first) return false;
  }
  return true;
}
static_assert(LinePlanInOrder(),
              "row n of the line plan is block n, holds a number and starts above row n - 1");

// The numbers of `block`, first to last.
constexpr LineSpan SpanOf(LineBlock block) {
  return {LineNumber(block), LineNumber(block, LineCount(block) - 1)};
}

// True when the two spans share a number.
constexpr bool Overlap(LineSpan a, LineSpan b) { return a.first <= b.last && b.first <= a.last; }

// True when every number of `inner` lies in `outer`.
constexpr bool Within(LineSpan inner, LineSpan outer) {
  return inner.first >= outer.first && inner.last <= outer.last;
}

// True when no two blocks of the plan share a number.
constexpr bool LineBlocksDisjoint() {
  for (int i = 0; i < kLineBlockCount; ++i) {
    for (int j = i + 1; j < kLineBlockCount; ++j) {
      if (Overlap(SpanOf(LineBlock(i)), SpanOf(LineBlock(j)))) return false;
    }
  }
  return true;
}
static_assert(LineBlocksDisjoint(), "no two blocks of the line plan share a number");

// True when each block lies in its owner's span and no chart block reaches into the panel's.
constexpr bool LineBlocksInTheirSpans() {
  for (const LineBlockRow& row : kLinePlan) {
    const LineSpan span = SpanOf(row.block);
    const bool fits = row.owner == kPanelPart
                          ? Within(span, kPanelLineSpan)
                          : Within(span, kChartLineSpan) && !Overlap(span, kPanelLineSpan);
    if (!fits) return false;
  }
  return true;
}
static_assert(LineBlocksInTheirSpans(),
              "chart blocks lie in the chart span outside the panel's; panel blocks in the panel's");

}  // namespace palette
