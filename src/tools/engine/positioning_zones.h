// Levels without one standard definition, defined here from the per-strike exposures: the zones,
// the three focus points, the pressure zone and the pinning score (docs/engine.md gives the
// reasons).
#pragma once

#include <array>
#include <vector>

#include "engine/levels.h"
#include "engine/strike_exposures.h"

namespace engine {

// The run of neighbouring strikes around `rows[index]` whose `values` are at least half of its
// own, widened by one strike on each side. Requires values[index] > 0.
Band ClusterAround(const std::vector<StrikeRow>& rows, const std::vector<double>& values, size_t index);

// Upside cluster: around the strike at or above spot with the largest call exposure. Downside:
// around the strike at or below spot with the largest put exposure. Absent without one.
Band UpsideCluster(const std::vector<StrikeRow>& rows, double spot);
Band DownsideCluster(const std::vector<StrikeRow>& rows, double spot);

// The three focus points: gamma magnet (largest net exposure within one expected move), dealer
// support (largest net exposure below spot within two) and resistance (the same above spot),
// each never the strike of an earlier one; see docs/engine.md for the fallbacks.
std::array<FocusPoint, 3> FocusPoints(const std::vector<StrikeRow>& rows, double spot, double expectedMove);

// From the nearest strike below spot to the nearest above spot whose |net exposure| is at least a
// quarter of the largest within one expected move; absent when a side has none.
Band PressureZone(const std::vector<StrikeRow>& rows, double spot, double expectedMove);

// 100 x the positive net exposure within one expected move of spot over all |net exposure|.
double PinningScore(const std::vector<StrikeRow>& rows, double spot, double expectedMove);

}  // namespace engine
