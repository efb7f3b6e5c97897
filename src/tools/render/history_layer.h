// What the chart shows of the levels' past when asked to: the steps of the study's subgraph
// values (earlier bars of the day filled from the live service's history) and the service's
// strike-by-time net GEX heatmap, both behind the candles.
#pragma once

#include <vector>

#include "chart/chart_host.h"
#include "chart/level_history.h"
#include "palette/subgraphs.h"
#include "render/history_steps.h"
#include "render/strike_heatmap.h"
#include "study/input_table.h"

namespace render {

struct HistoryLayer {
  std::vector<HistoryStep> steps;
  std::vector<HeatCell> heat;
  host::Rgb heatPlus;  // the colours of the study's GEX heatmap subgraphs
  host::Rgb heatMinus;
};

// The levels whose past is drawn, by subgraph number, with the input slot that switches their
// drawing on the chart: the call and put walls and gamma flip, vol trigger, max pain, the OI
// walls, zero DEX and the three focus levels.
struct HistoryLevel {
  int subgraph;
  int toggleSlot;
};
inline constexpr HistoryLevel kHistoryLevels[] = {
    {palette::kSgCallWall, study::kDrawCoreLevels},  {palette::kSgPutWall, study::kDrawCoreLevels},
    {palette::kSgGammaFlip, study::kDrawCoreLevels}, {palette::kSgVolTrigger, study::kDrawVolTrigger},
    {palette::kSgMaxPain, study::kDrawMaxPain},      {palette::kSgCallOiWall, study::kDrawOiWalls},
    {palette::kSgPutOiWall, study::kDrawOiWalls},    {palette::kSgZeroDex, study::kDrawZeroDex},
    {palette::kSgFocus1, study::kDrawFocus},         {palette::kSgFocus2, study::kDrawFocus},
    {palette::kSgFocus3, study::kDrawFocus},
};

// The layer of `host`'s chart: for each level of kHistoryLevels whose toggle input is on, its
// subgraph values in its current colour, bars before the first the study wrote a level at
// filled from `day` (none when null); and the heat cells of `day`.
HistoryLayer BuildHistoryLayer(const chart::ChartHost& host, const chart::DayHistory* day);

// Paints the heat cells, then the steps.
void DrawHistoryLayer(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                      const HistoryLayer& layer);

}  // namespace render
