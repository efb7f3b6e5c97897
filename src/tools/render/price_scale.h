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

// How far beyond the visible bars the scale reaches for the study's drawings, in multiples of
// the bars' own price span.
inline constexpr double kScaleReach = 4.0;

// The scale of the visible bars, widened to take in every horizontal line, band and
// price-placed text that lies within kScaleReach bar spans of the bars (far levels stay off
// the chart, as on a platform that scales to its bars), plus a small margin. Without visible
// bars the drawings alone set it; without either it spans 0..1.
PriceScale FitPriceScale(const chart::ChartData& chart,
                         const std::vector<host::DrawingRequest>& drawings);

// The pixel row of `price` (fractional; rows grow downwards).
double PriceY(const PriceScale& scale, double price);

// Round prices (1, 2, 2.5 or 5 times a power of ten apart) inside the scale, lowest first,
// spaced at least `minGapPx` pixels; empty for a scale without height.
std::vector<double> AxisTicks(const PriceScale& scale, double minGapPx);

}  // namespace render
