// Per-strike heatmaps: each strike's price band shaded by the sign and strength of one exposure.
#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

constexpr size_t kMaxCellsPerMap = 40;
constexpr int kMinOpacity = 1;
constexpr int kMaxOpacity = 60;

struct HeatmapLayer {
  const std::vector<payload::HeatCell>& cells;
  bool on;
  int positiveSubgraph;
  int negativeSubgraph;
  palette::LineBlock lines;
};

constexpr bool HoldsEveryCell(palette::LineBlock lines) {
  return static_cast<size_t>(palette::LineCount(lines)) >= kMaxCellsPerMap;
}
static_assert(HoldsEveryCell(palette::kLbGexHeatmap) && HoldsEveryCell(palette::kLbCharmMap) &&
              HoldsEveryCell(palette::kLbDeltaMap) && HoldsEveryCell(palette::kLbVannaMap) &&
              HoldsEveryCell(palette::kLbVegaMap));

// Weaker cells fade with the square root of their strength; the strongest is 100 - O.
int CellTransparency(double strength, int maxOpacity) {
  const double opacity = std::sqrt(std::min(std::fabs(strength), 1.0)) * maxOpacity / 100;
  return TruncateToInt((1 - opacity) * 100 + 0.5);
}

void DrawHeatmap(PassContext& pass, const HeatmapLayer& map, double minStrength, int maxOpacity) {
  if (!map.on) return;
  const host::Rgb positive = SubgraphColour(pass, map.positiveSubgraph);
  const host::Rgb negative = SubgraphColour(pass, map.negativeSubgraph);
  // Cells run from the lowest price, so a map of more than 40 strikes loses its highest ones.
  const size_t count = std::min(map.cells.size(), kMaxCellsPerMap);
  for (size_t i = 0; i < count; ++i) {
    const payload::HeatCell& cell = map.cells[i];
    const double s = cell.strength;
    if (!std::isfinite(s) || s == 0 || std::fabs(s) < minStrength) continue;
    DrawBand(pass, palette::LineNumber(map.lines, static_cast<int>(i)), cell.low, cell.high,
             s >= 0 ? positive : negative, CellTransparency(s, maxOpacity));
  }
}

}  // namespace

void DrawHeatmaps(PassContext& pass, const LevelsSnapshot& s) {
  const double minStrength = pass.settings.heatmapMinStrength / 100.0;
  const int maxOpacity = std::clamp(pass.settings.heatmapMaxOpacity, kMinOpacity, kMaxOpacity);
  const HeatmapLayer maps[] = {
      {s.gexCells, pass.settings.gexHeatmap, palette::kSgGexHeatmapPlus, palette::kSgGexHeatmapMinus,
       palette::kLbGexHeatmap},
      {s.charmCells, pass.settings.charmMap, palette::kSgCharmMapPlus, palette::kSgCharmMapMinus,
       palette::kLbCharmMap},
      {s.deltaCells, pass.settings.deltaMap, palette::kSgDeltaMapPlus, palette::kSgDeltaMapMinus,
       palette::kLbDeltaMap},
      {s.vannaCells, pass.settings.vannaMap, palette::kSgVannaMapPlus, palette::kSgVannaMapMinus,
       palette::kLbVannaMap},
      {s.vegaCells, pass.settings.vegaMap, palette::kSgVegaMapPlus, palette::kSgVegaMapMinus,
       palette::kLbVegaMap},
  };
  for (const HeatmapLayer& map : maps) DrawHeatmap(pass, map, minStrength, maxOpacity);
}

}  // namespace draw
