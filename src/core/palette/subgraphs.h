// The study's 44 subgraphs: the numbers the drawings and the panel take their colours from, and
// the one table of their names and default colours that the declaration call announces.
#pragma once

#include <array>

#include "host/colour.h"

namespace palette {

enum Subgraph : int {
  kSgCallWall = 0,
  kSgPutWall = 1,
  kSgGammaFlip = 2,
  kSgVolTrigger = 3,
  kSgMaxPain = 4,
  kSgCallOiWall = 5,
  kSgPutOiWall = 6,
  kSgZeroDex = 7,
  kSgFocus1 = 8,
  kSgFocus2 = 9,
  kSgFocus3 = 10,
  kSgBattleZone = 11,
  kSgUpsideCluster = 12,
  kSgDownsideCluster = 13,
  kSgTopStrike = 14,
  kSgSpot = 15,
  kSgPanelText = 16,
  kSgPanelWarning = 17,
  kSgDailyVolZone = 18,
  kSgUnstableCorridor = 19,
  kSgNdxLevel = 20,
  kSgVannaWall = 21,
  kSgCharmZone = 22,
  kSgVegaWall = 23,
  kSgHybridWall = 24,
  kSgSessionRef = 25,
  kSgOvernight = 26,
  kSgVwapBand = 27,
  kSgIctRange = 28,
  kSgIvZone = 29,
  kSgRegimeTintLong = 30,
  kSgRegimeTintShort = 31,
  kSgWallExtenderCall = 32,
  kSgWallExtenderPut = 33,
  kSgGexHeatmapPlus = 34,
  kSgGexHeatmapMinus = 35,
  kSgCharmMapPlus = 36,
  kSgCharmMapMinus = 37,
  kSgDeltaMapPlus = 38,
  kSgDeltaMapMinus = 39,
  kSgVannaMapPlus = 40,
  kSgVannaMapMinus = 41,
  kSgVegaMapPlus = 42,
  kSgVegaMapMinus = 43,
};
inline constexpr int kSubgraphCount = 44;

// The user's current colours, indexed by subgraph number; read once per call.
using SubgraphColours = std::array<host::Rgb, kSubgraphCount>;

struct SubgraphRow {
  Subgraph number;
  const char* name;
  host::Rgb colour;  // the default the declaration announces
};

inline constexpr SubgraphRow kSubgraphTable[kSubgraphCount] = {
    {kSgCallWall, "Call Wall", {115, 240, 176}},
    {kSgPutWall, "Put Wall", {255, 139, 139}},
    {kSgGammaFlip, "Gamma Flip", {246, 180, 95}},
    {kSgVolTrigger, "Vol Trigger", {177, 140, 255}},
    {kSgMaxPain, "Max Pain", {206, 212, 224}},
    {kSgCallOiWall, "Call OI Wall", {115, 240, 176}},
    {kSgPutOiWall, "Put OI Wall", {255, 139, 139}},
    {kSgZeroDex, "Zero DEX", {94, 214, 224}},
    {kSgFocus1, "Focus 1", {105, 194, 255}},
    {kSgFocus2, "Focus 2", {105, 194, 255}},
    {kSgFocus3, "Focus 3", {105, 194, 255}},
    {kSgBattleZone, "Battle Zone", {105, 194, 255}},
    {kSgUpsideCluster, "Upside Cluster", {115, 240, 176}},
    {kSgDownsideCluster, "Downside Cluster", {255, 139, 139}},
    {kSgTopStrike, "Top Strike", {150, 160, 178}},
    {kSgSpot, "Spot", {200, 208, 222}},
    {kSgPanelText, "Panel text", {220, 226, 238}},
    {kSgPanelWarning, "Panel warning", {255, 139, 139}},
    {kSgDailyVolZone, "Daily Vol Zone", {246, 180, 95}},
    {kSgUnstableCorridor, "Unstable Corridor", {255, 170, 120}},
    {kSgNdxLevel, "NDX Level", {160, 150, 220}},
    {kSgVannaWall, "Vanna Wall", {209, 140, 255}},
    {kSgCharmZone, "Charm Zone", {255, 159, 122}},
    {kSgVegaWall, "Vega Wall", {94, 214, 224}},
    {kSgHybridWall, "Hybrid Wall", {230, 200, 120}},
    {kSgSessionRef, "Session Ref", {159, 180, 255}},
    {kSgOvernight, "Overnight", {185, 140, 240}},
    {kSgVwapBand, "VWAP Band", {127, 209, 174}},
    {kSgIctRange, "ICT Range", {255, 140, 90}},
    {kSgIvZone, "IV Zone", {140, 190, 230}},
    {kSgRegimeTintLong, "Regime Tint Long", {115, 240, 176}},
    {kSgRegimeTintShort, "Regime Tint Short", {255, 139, 139}},
    {kSgWallExtenderCall, "Wall Extender (call side)", {115, 240, 176}},
    {kSgWallExtenderPut, "Wall Extender (put side)", {255, 139, 139}},
    {kSgGexHeatmapPlus, "GEX Heatmap +", {115, 240, 176}},
    {kSgGexHeatmapMinus, "GEX Heatmap -", {255, 139, 139}},
    {kSgCharmMapPlus, "Charm Map +", {120, 214, 224}},
    {kSgCharmMapMinus, "Charm Map -", {230, 169, 74}},
    {kSgDeltaMapPlus, "Delta Map +", {150, 120, 255}},
    {kSgDeltaMapMinus, "Delta Map -", {255, 110, 110}},
    {kSgVannaMapPlus, "Vanna Map +", {209, 140, 255}},
    {kSgVannaMapMinus, "Vanna Map -", {255, 159, 122}},
    {kSgVegaMapPlus, "Vega Map +", {120, 220, 200}},
    {kSgVegaMapMinus, "Vega Map -", {255, 150, 170}},
};

constexpr bool SubgraphTableInOrder() {
  for (int n = 0; n < kSubgraphCount; ++n) {
    if (kSubgraphTable[n].number != n) return false;
  }
  return true;
}
static_assert(SubgraphTableInOrder(), "row n of the subgraph table declares subgraph n");

// The declared default colours, as a host with untouched colours reports them.
constexpr SubgraphColours DefaultSubgraphColours() {
  SubgraphColours colours{};
  for (int n = 0; n < kSubgraphCount; ++n) colours[n] = kSubgraphTable[n].colour;
  return colours;
}

}  // namespace palette
