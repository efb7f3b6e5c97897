// The chart as picture files: one PNG and one SVG from the same drawing code.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"

namespace render {

struct HistoryLayer;

// Picture sizes the renderer accepts, in pixels per side.
inline constexpr int kMinPictureSide = 200;
inline constexpr int kMaxPictureSide = 8000;

// Renders `chart` with `drawings` at `width` x `height` into `pngPath` and `svgPath`, as a pair:
// both files are replaced, or neither (formats::FileReplacement). False with `*error` naming the
// file that could not be written, or the size when it is outside kMinPictureSide..kMaxPictureSide.
// A `history` layer, when given, is drawn as RenderChart draws it.
bool WriteChartPictures(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings,
                        int width, int height, const std::string& pngPath, const std::string& svgPath,
                        std::string* error, const HistoryLayer* history = nullptr);

}  // namespace render
