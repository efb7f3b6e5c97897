// What `ordinel chart` prints besides the pictures: the panel as text rows and the message
// log, and the chart geometry that makes the host's pixels the picture's pixels.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "chart/chart_host.h"
#include "host/drawing_request.h"

namespace cli {

// Bars the region is divided into (fewer when the chart has fewer), the price axis's width in
// pixels, and the share of the region's width (at most kMaxRightMargin pixels) left free after
// the newest bar for the level labels.
inline constexpr int kChartVisibleBars = 100;
inline constexpr int kPriceAxisWidth = 80;
inline constexpr double kRightMarginShare = 0.2;
inline constexpr int kMaxRightMargin = 300;

// Sets the region, right margin, visible range and bar spacing of `chart` for a picture of
// `width` x `height` pixels: the region fills the picture but for the price axis at the right,
// the time axis below when the bars carry times, and a footer row; the bar spacing is the
// region's width over kChartVisibleBars (at least 1), and the last bars that fit at that
// spacing left of the right margin are visible.
void FitChartToPicture(chart::ChartData* chart, int width, int height);

// Gives `chart` the region FitChartToPicture gives a `width` x `height` picture, as a resized
// chart window does: the bar spacing stays (as far as chart::ShowBars allows), the last visible
// bar stays last, and the new width shows more or fewer bars before it.
void ResizeChartToPicture(chart::ChartData* chart, int width, int height);

// The panel as text rows: the texts placed at a height in percent, highest row first; texts
// on the same height (a button row) joined in bar order; trailing blanks dropped.
std::vector<std::string> PanelRows(const std::vector<host::DrawingRequest>& drawings);

// The panel rows and every message log entry, as printed: each through TerminalText.
std::string PanelAndLogText(const chart::ChartHost& host);

// True when the study shows a levels map: one of its subgraphs has a value at the last bar
// (the study writes its levels there while a map is loaded and drawn, and zeros otherwise).
bool MapOnChart(const chart::ChartHost& host);

// The study's status and error lines as its panel shows them at the top (rows of the texts
// in the panel's status colour or the "Panel warning" subgraph colour), highest first; when
// the panel shows none (hidden or folded), the message log entries the study showed.
std::vector<std::string> StudyStatusLines(const chart::ChartHost& host);

}  // namespace cli
