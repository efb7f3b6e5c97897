// The labels of the study's level lines, and the markers of labelled levels beyond the price
// scale, placed in the room after the newest bar so that none overlaps another or a candle.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "render/canvas.h"
#include "render/price_scale.h"

namespace render {

// How far the labels' right ends lie left of the region's right edge (their leaders run there
// to their lines' ends), and the least room between a label and a candle or the panel.
inline constexpr double kLabelInset = 12;
inline constexpr double kLabelClearance = 4;

// Draws, in canvas groups "level-labels" and "edge-markers", the label of every horizontal
// line with a text inside the scale (just above its line, its right end kLabelInset left of the
// region's edge) and, for every such line beyond the scale, a marker at the top or bottom edge
// (an arrow, its price and its text). The labels are laid out by LayOutLabels with their rank
// (LabelRank): moved up or down clear of each other, with a short leader to the line's end
// when moved; merged labels name each line in its own colour. A label is shortened
// (FitLabelText) to the room left of it that no candle or panel background takes, unless that
// room is too narrow to read, and is then drawn whole.
void DrawLevelLabels(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                     const std::vector<host::DrawingRequest>& drawings);

// How readily the label of line `lineNumber` gives way by the study's line plan: 0 for core
// and focus levels (never merged or left out), 1 for zones, 3 for top strikes, 2 for the rest.
int LabelRank(int lineNumber);

// `text` as wide as `room` pixels allow (`width` measures a text): whole; else without its
// trailing parts (those after a double blank, the study's suffixes such as "  P(touch) 86%"),
// then without its long names (after " - ": "CW - Call Wall" becomes "CW"); else cut, ending
// in an ellipsis; empty when not even one character and the ellipsis fit.
std::string FitLabelText(const std::string& text, double room,
                         const std::function<double(std::string_view)>& width);

}  // namespace render
