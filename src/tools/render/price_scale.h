// The vertical price scale of the picture: which prices the chart region spans and the round
// prices the axis marks.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"

namespace render {

struct PriceScale {
  double low = 0;   // price at the region's bottom edge
  double high = 1;  // price at the region's top edge
  int top = 0;      // pixel rows of the region
  int bottom = 1;
};

// The share of the visible bars' span the fitted scale adds above and below them.
inline constexpr double kScaleMargin = 0.08;

// The chart's own price scale when the user set one (chart.priceScale); else the visible bars'
// lowest low to highest high plus kScaleMargin of that span each side, as a trading chart
// scales to its bars: the study's levels outside it do not stretch it (the renderer marks them
// at the edge). Without visible bars the drawings' prices set it; without either it spans 0..1.
PriceScale FitPriceScale(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings);

// True when `price` lies within the scale's prices (its edges included).
bool InScale(const PriceScale& scale, double price);

// The pixel row of `price` (fractional; rows grow downwards).
double PriceY(const PriceScale& scale, double price);

// Round prices (1, 2, 2.5 or 5 times a power of ten apart) inside the scale, lowest first,
// spaced at least `minGapPx` pixels; empty for a scale without height.
std::vector<double> AxisTicks(const PriceScale& scale, double minGapPx);

}  // namespace render
