// Every level of an answer from the priced chain and its per-strike exposures.
#pragma once

#include <vector>

#include "engine/levels.h"
#include "engine/priced_chain.h"
#include "engine/strike_exposures.h"

namespace engine {

// The model zero gamma is searched over spot +-20 % on an 80-step geometric grid, zero DEX
// between the two ends of that range; both are refined to a millionth of spot. The gamma flip's
// running sum takes the strikes of the same window, so strikes too far out to matter near spot
// cannot move it.
inline constexpr double kModelRange = 0.20;
inline constexpr int kModelGridSteps = 80;
inline constexpr double kModelTolerance = 1e-6;

// Fills zeroGamma, zeroGammaBand and zeroDex of `out` (each absent when its curve does not
// cross zero in the range). Requires at least one contract.
void FindModelZeros(const PricedChain& chain, Levels* out);

// `rows` are ExposuresByStrike(chain); `yearsToClose` is the time to the next 16:00 New York
// close (the horizon of the charm hedge). Requires at least one contract.
Levels ComputeLevels(const PricedChain& chain, const std::vector<StrikeRow>& rows, double yearsToClose);

}  // namespace engine
