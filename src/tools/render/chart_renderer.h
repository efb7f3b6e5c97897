// Paints a chart and the study's drawings on a canvas. Both picture formats come from this
// one drawing code, so the PNG and the SVG show the same thing.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "render/canvas.h"

namespace render {

struct HistoryLayer;

// Paints `chart` with `drawings` (any order; drawn by kind, then by line number) on `canvas`,
// whose pixel rows and columns are the chart window's (the region and the bar x coordinates
// of `chart` place everything) on the price scale FitPriceScale gives: the dark background and
// grid, bands with their transparency, candles of the visible bars (canvas group "candles"),
// horizontal lines in their style and width, their labels and the markers of those beyond the
// scale (DrawLevelLabels), the panel background, texts at their bar and height with their
// alignment in a monospaced face, the price axis right of the region (group "price-axis")
// and, for bars with times, the time axis under it. Drawings with unusable values (not finite, bars out of range) are
// skipped or clipped; nothing outside the region but the axes is painted over. A `history` layer,
// when given, is painted behind the candles (DrawHistoryLayer).
void RenderChart(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings,
                 Canvas& canvas, const HistoryLayer* history = nullptr);

}  // namespace render
