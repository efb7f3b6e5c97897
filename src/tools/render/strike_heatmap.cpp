#include "render/strike_heatmap.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr double kLoneStrikeHalfShare = 0.001;

// Half the band of strike `j`: half the gap to its nearer neighbour.
double HalfBand(const std::vector<double>& strikes, size_t j) {
  double gap = INFINITY;
  if (j > 0) gap = std::min(gap, strikes[j] - strikes[j - 1]);
  if (j + 1 < strikes.size()) gap = std::min(gap, strikes[j + 1] - strikes[j]);
  return std::isfinite(gap) ? gap / 2 : strikes[j] * kLoneStrikeHalfShare;
}

// The runs of bars that share one capture: {capture, first bar, last bar}.
struct Run {
  int capture;
  int first;
  int last;
};

std::vector<Run> CaptureRuns(const std::vector<int>& captureAtBar) {
  std::vector<Run> runs;
  for (int bar = 0; bar < static_cast<int>(captureAtBar.size()); ++bar) {
    const int capture = captureAtBar[static_cast<size_t>(bar)];
    if (capture < 0) continue;
    if (!runs.empty() && runs.back().capture == capture && runs.back().last == bar - 1) {
      runs.back().last = bar;
    } else {
      runs.push_back({capture, bar, bar});
    }
  }
  return runs;
}

}  // namespace

std::vector<HeatCell> StrikeHeatCells(const std::vector<chart::Bar>& bars, const chart::DayHistory& day) {
  std::vector<HeatCell> cells;
  if (!day.hasStrikes) return cells;
  const chart::StrikeMatrix& m = day.strikes;
  for (const Run& run : CaptureRuns(chart::CaptureAtBars(bars, m.times, day.dayEnd))) {
    const size_t row = static_cast<size_t>(run.capture);
    const double ratio = m.ratios[row];
    for (size_t j = 0; j < m.strikes.size(); ++j) {
      const double value = m.netGex[row][j];
      if (!std::isfinite(value) || value == 0) continue;
      const double half = HalfBand(m.strikes, j);
      cells.push_back(
          {run.first, run.last, (m.strikes[j] - half) * ratio, (m.strikes[j] + half) * ratio, value});
    }
  }
  return cells;
}

void DrawStrikeHeatmap(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                       const std::vector<HeatCell>& cells, host::Rgb plus, host::Rgb minus) {
  double largest = 0;
  for (const HeatCell& cell : cells) largest = std::max(largest, std::fabs(cell.netGex));
  if (!(largest > 0)) return;
  for (const HeatCell& cell : cells) {
    if (cell.lastBar < chart.visible.first || cell.firstBar > chart.visible.last) continue;
    const double left = chart::BarX(chart, cell.firstBar) - chart.barSpacing / 2.0;
    const double right =
        chart::BarX(chart, cell.lastBar) - chart.barSpacing / 2.0 + std::max(chart.barSpacing, 1);
    const double top = PriceY(scale, cell.high);
    const double bottom = PriceY(scale, cell.low);
    const double opacity = kHeatmapMaxOpacity * std::fabs(cell.netGex) / largest;
    canvas.FillRect({left, top, right - left, std::max(bottom - top, 1.0)},
                    {cell.netGex > 0 ? plus : minus, opacity});
  }
}

}  // namespace render
