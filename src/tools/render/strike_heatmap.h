// The live service's net GEX by strike and time, laid on the bars' time axis behind the candles:
// each capture's strikes at their prices over the bars that traded while it was the latest.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "chart/level_history.h"
#include "host/colour.h"
#include "render/canvas.h"
#include "render/price_scale.h"

namespace render {

// The opacity of the strongest cell; weaker ones fade with their share of it.
inline constexpr double kHeatmapMaxOpacity = 0.35;

// One strike over a run of bars: the price band it covers and its net GEX.
struct HeatCell {
  int firstBar = 0;
  int lastBar = 0;
  double low = 0;
  double high = 0;
  double netGex = 0;
};

// The cells of `day`'s matrix on `bars`: for each capture, the bars during which it was the
// latest (chart::CaptureAtBars), and for each of its strikes with a non-zero value the band
// from halfway to the strike below to halfway to the strike above (one strike alone: 0.1 % of
// its price either side), at that capture's ratio. Bars without times get none; empty when the
// day has no matrix.
std::vector<HeatCell> StrikeHeatCells(const std::vector<chart::Bar>& bars, const chart::DayHistory& day);

// Fills each cell within the visible bars in `plus` (net GEX above 0) or `minus`, its opacity
// kHeatmapMaxOpacity times its share of the largest magnitude among the cells.
void DrawStrikeHeatmap(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                       const std::vector<HeatCell>& cells, host::Rgb plus, host::Rgb minus);

}  // namespace render
