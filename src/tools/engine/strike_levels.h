// Levels read off a per-strike series: the strongest strike, sign changes (running or local)
// and the strikes ranked by magnitude.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/levels.h"

namespace engine {

// The strike with the largest value above 0; ties go to the strike nearer `spot`, then the lower.
// Absent when no value is above 0. `strikes` and `values` are parallel, strikes ascending.
Level StrongestStrike(const std::vector<double>& strikes, const std::vector<double>& values, double spot);

// Where a series crosses zero between two neighbouring strikes, read linearly between them.
struct StrikeCrossing {
  bool found = false;
  double price = 0;
  double lowStrike = 0;  // the two strikes around the crossing
  double highStrike = 0;
};

// The crossing nearest `spot` of the running sum of `values` from the lowest strike up (the
// gamma flip when the values are net gamma exposure); the lower one on a tie.
StrikeCrossing CumulativeCrossing(const std::vector<double>& strikes, const std::vector<double>& values,
                                  double spot);

// The crossing nearest `spot` of the values themselves (vanna and charm flips).
StrikeCrossing LocalCrossing(const std::vector<double>& strikes, const std::vector<double>& values,
                             double spot);

// The highest strike strictly below `reference` whose value is below 0; absent when none is.
Level HighestNegativeBelow(const std::vector<double>& strikes, const std::vector<double>& values,
                           double reference);

// The `count` strikes of largest |value| (ties: lower strike first), returned ascending by
// strike with their share of the largest |value|. Zero values are never taken.
std::vector<RankedStrike> TopByMagnitude(const std::vector<double>& strikes,
                                         const std::vector<double>& values, size_t count);

// The price band a strike owns: halfway to each neighbour, the outer strikes extended by half
// their one gap (a lone strike gets +-0.5).
Band StrikeBand(const std::vector<double>& strikes, size_t index);

}  // namespace engine
