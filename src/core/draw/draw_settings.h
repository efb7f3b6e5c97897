// What the user chose for the chart layers, handed to the drawing pass by the study's input
// reader; the pass and its layers never read inputs themselves. Defaults are the declared ones.
#pragma once

#include "palette/subgraphs.h"

namespace draw {

struct DrawSettings {
  // Line options.
  bool labelLines = true;
  bool valueInPriceScale = true;
  int lineWidth = 1;
  int exposureMode = 0;  // 0 off, 1 gamma, 2 delta, 3 gamma + delta
  bool forecastTouch = true;
  // Core map.
  bool coreLevels = true;
  bool volTrigger = true;
  bool maxPain = false;
  bool oiWalls = false;
  bool zeroDex = false;
  bool focus = true;
  bool zoneBoundaries = true;
  bool shadeZones = true;
  bool topStrikes = false;
  // Overlays.
  bool dailyVolZones = true;
  bool unstableCorridor = true;
  bool ndxLevels = true;
  bool vanna = false;
  bool charm = false;
  bool vegaWalls = false;
  bool hybridWalls = false;
  bool sessionRefs = true;
  bool shadeOpeningRange = false;
  bool overnight = true;
  bool vwapBands = true;
  bool tradingRanges = false;
  bool ivBand = false;
  int ivHorizonMinutes = 60;
  bool regimeTint = false;
  int wallExtenders = 0;  // per side
  bool forecastBand = false;
  bool zeroGammaModel = false;
  bool ivWalls = false;
  bool gexProfile = false;
  // Heatmaps.
  bool gexHeatmap = false;
  bool charmMap = false;
  bool deltaMap = false;
  bool vannaMap = false;
  bool vegaMap = false;
  int heatmapMaxOpacity = 20;
  int heatmapMinStrength = 0;
  // The panel runs after the chart layers when shown.
  bool showPanel = true;
  palette::SubgraphColours colours = palette::DefaultSubgraphColours();
};

}  // namespace draw
