// Every level the engine computes, in the underlying's price units (the answer writer maps them
// onto a futures chart). Absent levels have `has` false.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace engine {

struct Level {
  bool has = false;
  double value = 0;
};

struct Band {
  bool has = false;
  double low = 0;
  double high = 0;
};

struct FocusPoint {
  Level level;
  std::string label;       // "Gamma magnet"
  std::string shortLabel;  // "MAG"
  std::string confidence;  // "high", "medium", "low"
};

// A strike picked for its exposure: `value` is the exposure, `intensity` its share of the largest.
struct RankedStrike {
  double strike = 0;
  double value = 0;
  double intensity = 0;
};

struct TouchLevel {
  double price = 0;
  double touchPercent = 0;
};

// The study keeps this many touch levels; the answer sends no more.
inline constexpr size_t kMaxTouchLevels = 8;

struct Levels {
  double spot = 0;
  Level callWall, putWall, gammaFlip, volTrigger, maxPain, callOiWall, putOiWall, zeroDex;
  Level zeroGamma;
  Band zeroGammaBand;
  double netGex = 0, netDex = 0;
  Band battleZone, upsideCluster, downsideCluster;
  std::array<FocusPoint, 3> focus;
  Level atmIvPercent;       // nearest expiration, percent
  Level expectedMove;       // one standard deviation to the nearest expiration, price units
  double horizonYears = 0;  // of the expected move and the touch probabilities
  std::string horizon;      // "1d" or "2025-01-17 16:00 New York"
  Level expectedMoveToExpiry;
  Level ivCallWall, ivPutWall;
  double ivCallWallPercent = 0, ivPutWallPercent = 0;
  std::vector<RankedStrike> vannaWalls, vegaWalls;  // ascending by strike
  std::vector<Band> charmZones;
  Level vannaFlip, charmFlip;
  Level hybridCallWall, hybridPutWall, hybridVolTrigger;
  // Every present level of call wall, put wall, gamma flip, vol trigger, max pain, call and put
  // OI walls, zero DEX (the core levels, in the order the study draws them), the three focus
  // points and zero gamma, in that order; the writer keeps each printed price once.
  std::vector<TouchLevel> touches;
  Band densityBand;  // 16th to 84th percentile of the price at the horizon
  double densityMedian = 0;
  // What dealers trade in the underlying to stay hedged, $ (positive: they buy): by the next
  // close as time passes, and per volatility point of rise.
  Level charmHedgeUsd, vannaHedgeUsdPerVolPoint;
  Band pressureZone;
  double pinningScore = 0;           // 0 to 100
  double hedgeOnePercentShares = 0;  // shares dealers trade on a 1 % rise, negative = sell
  // Spot's side of the gamma flip, "above" (long gamma, net GEX >= 0) or "below" (short gamma);
  // empty without a flip or when that side and the sign of net GEX disagree.
  std::string flipSide;
};

}  // namespace engine
