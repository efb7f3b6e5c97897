// Exposures by strike and expiration: what ExposuresByStrike sums per strike, kept apart per
// expiration so that a stored capture can answer any expiry selection's per-strike picture.
#pragma once

#include <vector>

#include "engine/priced_chain.h"

namespace engine {

struct ExpiryExposure {
  double strike = 0;
  int expiry = 0;                                 // index into PricedChain::expirations
  double gex = 0, dex = 0, vanna = 0, charm = 0;  // net of calls and puts, as Exposure counts them
};

// One entry per strike and expiration that has a contract, ascending by strike, then by
// expiration; summed over the expirations of a strike they give that strike's StrikeRow totals.
std::vector<ExpiryExposure> ExposuresByStrikeAndExpiry(const PricedChain& chain);

}  // namespace engine
