// The price axis right of the chart region and the grid lines that continue its marks.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "render/canvas.h"
#include "render/price_scale.h"

namespace render {

// Minimum pixels between two marked prices.
inline constexpr double kTickGapPx = 48;

// Faint horizontal lines across the region at the marked prices.
void DrawGrid(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale);

// The axis from the region's right edge to the canvas edge: the marked prices in the chart's
// price format, a flag in the line's colour for every horizontal line that shows its value in
// the price scale, and one for the last bar's close. Flags that would overlap are moved apart
// (SpreadRows), and a marked price a flag would cover is left out; lines outside the scale get
// none. Nothing when there is no room right of the region.
void DrawPriceAxis(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                   const std::vector<host::DrawingRequest>& drawings);

}  // namespace render
