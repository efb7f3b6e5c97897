#include "render/history_layer.h"

#include <algorithm>

namespace render {
namespace {

using palette::kSgGexHeatmapMinus;
using palette::kSgGexHeatmapPlus;
using palette::kSubgraphCount;

bool ToggleOn(const chart::InputStore& inputs, int slot) {
  const chart::InputEntry* entry = inputs.Find(slot);
  return entry != nullptr && entry->declaration.kind == host::InputKind::kYesNo && entry->value.number != 0;
}

// Every level subgraph's values, one per bar (0 where never written).
std::vector<std::vector<float>> SubgraphValues(const chart::ChartHost& host) {
  const int bars = static_cast<int>(host.Chart().bars.size());
  std::vector<std::vector<float>> values(kSubgraphCount);
  for (const HistoryLevel& level : kHistoryLevels) {
    std::vector<float>& series = values[static_cast<size_t>(level.subgraph)];
    series.resize(static_cast<size_t>(bars));
    for (int bar = 0; bar < bars; ++bar)
      series[static_cast<size_t>(bar)] = host.Subgraphs().ValueAt(level.subgraph, bar);
  }
  return values;
}

// The first bar at which the study wrote any level; the bar count when it wrote none.
int FirstStudyBar(const std::vector<std::vector<float>>& values, int bars) {
  int first = bars;
  for (const HistoryLevel& level : kHistoryLevels) {
    const std::vector<float>& series = values[static_cast<size_t>(level.subgraph)];
    const auto written = std::find_if(series.begin(), series.end(), [](float v) { return v != 0; });
    first = std::min(first, static_cast<int>(written - series.begin()));
  }
  return first;
}

}  // namespace

HistoryLayer BuildHistoryLayer(const chart::ChartHost& host, const chart::DayHistory* day) {
  const chart::ChartData& chart = host.Chart();
  std::vector<std::vector<float>> values = SubgraphValues(host);
  if (day != nullptr) {
    chart::FillFromHistory(chart.bars, *day, FirstStudyBar(values, static_cast<int>(chart.bars.size())),
                           &values);
  }
  std::vector<LevelSeries> shown;
  for (const HistoryLevel& level : kHistoryLevels) {
    if (!ToggleOn(host.Inputs(), level.toggleSlot)) continue;
    shown.push_back({level.subgraph, host.Subgraphs().Colour(level.subgraph),
                     std::move(values[static_cast<size_t>(level.subgraph)])});
  }
  HistoryLayer layer;
  layer.steps = HistorySteps(shown, chart.visible);
  if (day != nullptr) layer.heat = StrikeHeatCells(chart.bars, *day);
  layer.heatPlus = host.Subgraphs().Colour(kSgGexHeatmapPlus);
  layer.heatMinus = host.Subgraphs().Colour(kSgGexHeatmapMinus);
  return layer;
}

void DrawHistoryLayer(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                      const HistoryLayer& layer) {
  DrawStrikeHeatmap(canvas, chart, scale, layer.heat, layer.heatPlus, layer.heatMinus);
  DrawHistorySteps(canvas, chart, scale, layer.steps);
}

}  // namespace render
