// Every level of an answer from the priced chain and its per-strike exposures.
#pragma once

#include <vector>

#include "engine/levels.h"
#include "engine/priced_chain.h"
#include "engine/strike_exposures.h"

namespace engine {

// The model zero gamma and zero DEX are searched over spot +-20 % on an 80-step grid and
// bisected to a millionth of spot.
inline constexpr double kModelRange = 0.20;
inline constexpr int kModelGridSteps = 80;
inline constexpr double kModelTolerance = 1e-6;

// `rows` are ExposuresByStrike(chain); `yearsToClose` is the time to the next 16:00 New York
// close (the horizon of the charm hedge). Requires at least one contract.
Levels ComputeLevels(const PricedChain& chain, const std::vector<StrikeRow>& rows,
                     double yearsToClose);

}  // namespace engine
