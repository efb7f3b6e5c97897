#include "render/history_steps.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

double BarLeft(const chart::ChartData& chart, int bar) {
  return chart::BarX(chart, bar) - chart.barSpacing / 2.0;
}

double BarRight(const chart::ChartData& chart, int bar) {
  return BarLeft(chart, bar) + std::max(chart.barSpacing, 1);
}

// A row centre on which a one-pixel line is crisp.
double Crisp(double y) { return std::floor(y) + 0.5; }

}  // namespace

std::vector<HistoryStep> HistorySteps(const std::vector<LevelSeries>& series, host::BarRange visible) {
  std::vector<HistoryStep> steps;
  for (const LevelSeries& level : series) {
    const int first = std::max(visible.first, 0);
    const int last = std::min(visible.last, static_cast<int>(level.values.size()) - 1);
    bool open = false;
    for (int bar = first; bar <= last; ++bar) {
      const float value = level.values[static_cast<size_t>(bar)];
      const bool present = value != 0 && std::isfinite(value);
      if (open && present && steps.back().price == value) {
        steps.back().lastBar = bar;
        continue;
      }
      open = present;
      if (present) steps.push_back({level.subgraph, bar, bar, value, level.colour});
    }
  }
  return steps;
}

void DrawHistorySteps(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                      const std::vector<HistoryStep>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    const HistoryStep& step = steps[i];
    const Paint paint{step.colour, kHistoryStepOpacity};
    const double y = Crisp(PriceY(scale, step.price));
    const double right = BarRight(chart, step.lastBar);
    canvas.Line(BarLeft(chart, step.firstBar), y, right, y, paint, 1, Dash::kSolid);
    if (i + 1 < steps.size()) {
      const HistoryStep& next = steps[i + 1];
      if (next.subgraph == step.subgraph && next.firstBar == step.lastBar + 1) {
        canvas.Line(right, y, right, Crisp(PriceY(scale, next.price)), paint, 1, Dash::kSolid);
      }
    }
  }
}

}  // namespace render
