// Paints a chart and the study's drawings on a canvas. Both picture formats come from this
// one drawing code, so the PNG and the SVG show the same thing.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "render/canvas.h"

namespace render {

struct HistoryLayer;

// How far a line's label ends left of the region's right edge, and how far its baseline lies
// above the line, in pixels.
inline constexpr double kLabelInset = 6;
inline constexpr double kLabelLift = 3;

// Paints `chart` with `drawings` (any order; drawn by kind, then by line number) on `canvas`,
// whose pixel rows and columns are the chart window's (the region and the bar x coordinates
// of `chart` place everything): the dark background and grid, bands with their transparency,
// candles of the visible bars, horizontal lines in their style and width with their label
// near the right edge (labels that would overlap move left), the panel background, texts at
// their bar and height with their alignment in a monospaced face, and the price axis right
// of the region. Drawings with unusable values (not finite, bars out of range) are skipped or
// clipped; nothing outside the region but the axis is painted over. A `history` layer, when
// given, is painted behind the candles (DrawHistoryLayer).
void RenderChart(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings,
                 Canvas& canvas, const HistoryLayer* history = nullptr);

}  // namespace render
