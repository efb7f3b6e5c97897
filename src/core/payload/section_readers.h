// The readers of the optional sections of a levels answer, in the order ReadOptionalSections
// runs them. None of them fails: a section that is missing, mistyped or incomplete leaves only
// its own snapshot fields at their defaults; oversized arrays are cut at their caps.
#pragma once

#include <string_view>
#include <vector>

#include "json/json_node.h"
#include "payload/levels_snapshot.h"

namespace payload {

// Reads every optional section, in order, from `root` and the level block `levelBlock` into
// `snapshot`. Requires: the core levels (spot and walls) are already in `snapshot`.
void ReadOptionalSections(json::Node root, json::Node levelBlock, int topStrikesCount,
                          LevelsSnapshot* snapshot);

// "zero_gamma" (level block): the model zero-gamma price and its band, when "available".
void ReadZeroGamma(json::Node levelBlock, LevelsSnapshot* snapshot);
// Net GEX from "net_gex"/"total_gex" in the level block, root, then root's raw context levels.
void ReadNetGex(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// Net DEX from "net_delta_notional"/"net_dex"/"total_dex" in "flow", the level block, root.
void ReadNetDex(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "net_drift": cumulative premium and volume totals.
void ReadNetDrift(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// Root's "extended_levels": implied density (at most 8 levels and the p16-p84 band) and hedge flow.
void ReadExtendedLevels(json::Node root, LevelsSnapshot* snapshot);

// Fills `out` from the object `container`[`key`] when it has a readable "value"; labels default
// to "Focus N" / "FN" with N = index + 1. False (and `out` untouched) otherwise.
bool ParseFocusLevel(json::Node container, std::string_view key, int index, FocusLevel* out);
// "points_of_interest": focus_1..focus_3.
void ReadPointsOfInterest(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// Fills `out` from the object `container`[`key`] with low/bottom and high/top bounds at least
// 0.000001 apart (swapped when reversed); an empty label becomes `defaultLabel`. False otherwise.
bool ParseZone(json::Node container, std::string_view key, std::string_view defaultLabel, ZoneBand* out);
// "zones": upside cluster, downside cluster, battle zone.
void ReadZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);

// "vol_zones": anchor, one-sigma move, premium (kept only strictly inside 0-1), frozen flag.
void ReadVolZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "ndx_levels" (level block): NDX call wall, put wall and gamma flip.
void ReadNdxLevels(json::Node levelBlock, LevelsSnapshot* snapshot);
// "iv_walls" (level block): the strikes of its "call" and "put" objects.
void ReadIvWalls(json::Node levelBlock, LevelsSnapshot* snapshot);
// "vanna_walls" (level block): at most 8 strikes with their intensities (0 when unreadable).
void ReadVannaWalls(json::Node levelBlock, LevelsSnapshot* snapshot);
// "charm_zones" (root's array, else the level block's): at most 6 ranges.
void ReadCharmZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "vega_walls" (level block): at most 6 strikes.
void ReadVegaWalls(json::Node levelBlock, LevelsSnapshot* snapshot);
// "vanna_charm_flips" (level block's object, else root's): vanna and charm flips.
void ReadVannaCharmFlips(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "hybrid_walls" (level block): observed call wall, put wall, vol trigger.
void ReadHybridWalls(json::Node levelBlock, LevelsSnapshot* snapshot);

// "session_refs": prior-day high/low, RTH open and the opening range (or30, else or15).
void ReadSessionRefs(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "overnight_inventory": prior RTH close, overnight high and low.
void ReadOvernightInventory(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "vwap_regime": VWAP and the plus/minus prices of bands 1-3.
void ReadVwapRegime(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "ict_sessions": Asia, London and NY AM ranges and the midnight open.
void ReadTradingPeriods(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// "atm_iv" (level block): kept only when above 0.
void ReadAtmIv(json::Node levelBlock, LevelsSnapshot* snapshot);

// Rebuilds `outRows` from "gex_profile": merged within spot x 0.0012, the largest N by |gex|
// (N = topStrikesCount, or 10 below 1), tagged, highest price first. Empty without a spot above 0.
void BuildGexProfile(json::Node levelBlock, const LevelsSnapshot& snapshot, int topStrikesCount,
                     std::vector<ProfileRow>* outRows);
// Fills the call/put extender arrays: up to 3 heavy-gamma strikes beyond each present wall.
void BuildWallExtenders(json::Node levelBlock, LevelsSnapshot* snapshot);
// Rebuilds `profilePoints` from "gex_profile": every non-zero entry, ascending by price.
void BuildProfilePoints(json::Node levelBlock, LevelsSnapshot* snapshot);

// Rebuilds `outCells` from (strike, value) pairs: one band per strike halfway to its neighbours,
// ascending by price, strength = value / largest |value|. Empty for fewer than 3 pairs.
void BuildHeatCells(std::vector<StrikeValue> pairs, std::vector<HeatCell>* outCells);
// "gex_topo" (level block): per-strike sums of the row cells, as heat cells into `gexCells`.
void ReadGexTopo(json::Node levelBlock, LevelsSnapshot* snapshot);
// "charm_by_strike" (level block if present, else root): heat cells into `charmCells`.
void ReadCharmByStrike(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot);
// Rebuilds `outCells` from "strike_greeks" (level block if present, else root): "strikes" paired
// with the array `greekKey`, JSON numbers only.
void ParseStrikeGreeks(json::Node levelBlock, json::Node root, std::string_view greekKey,
                       std::vector<HeatCell>* outCells);
// Rebuilds `outPairs` from "label_exposures" (level block only): "strikes" paired with the array
// `greekKey`, JSON numbers only, as sent (unsorted, uncapped).
void ParseLabelExposures(json::Node levelBlock, std::string_view greekKey, StrikeTable* outPairs);

}  // namespace payload
