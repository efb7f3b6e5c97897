// The past of the study's levels: the values it left in its subgraphs bar by bar, drawn as faint
// steps behind the current lines, so the chart shows where each level stood when a bar traded.
#pragma once

#include <vector>

#include "chart/chart_data.h"
#include "host/colour.h"
#include "render/canvas.h"
#include "render/price_scale.h"

namespace render {

// How strongly the steps show.
inline constexpr double kHistoryStepOpacity = 0.45;

// One level's values by bar (0: the level was absent at that bar) and its colour.
struct LevelSeries {
  int subgraph = 0;
  host::Rgb colour;
  std::vector<float> values;
};

// One run of bars over which a level held one value.
struct HistoryStep {
  int subgraph = 0;
  int firstBar = 0;
  int lastBar = 0;
  double price = 0;
  host::Rgb colour;
};

// The runs of equal non-zero values of each series within `visible` (clipped to the values
// present), series by series in the order given, each series' runs left to right. A zero, a
// value that is not finite and a bar outside the series end a run.
std::vector<HistoryStep> HistorySteps(const std::vector<LevelSeries>& series, host::BarRange visible);

// Draws each step as a faint line across its bars, and joins consecutive steps of one level on
// adjacent bars with a faint riser, so a moved level reads as a step.
void DrawHistorySteps(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                      const std::vector<HistoryStep>& steps);

}  // namespace render
