// Max pain: the strike at which the holders of one expiration's open interest would be paid
// the least if the underlying settled there.
#pragma once

#include <vector>

#include "engine/levels.h"
#include "engine/priced_chain.h"

namespace engine {

// Holders' payout, in units of the underlying per contract unit, with the underlying settling
// at `price`: calls pay OI x max(price - K, 0), puts OI x max(K - price, 0).
double HoldersPayout(const std::vector<PricedContract>& contracts, int expiry, double price);

// The strike of expiration `expiry` that minimises HoldersPayout over that expiration's strikes
// (ties: nearer `spot`, then lower); absent when the expiration has no open interest. One sweep
// over the sorted strikes with running sums, not a payout per candidate.
Level MaxPain(const std::vector<PricedContract>& contracts, int expiry, double spot);

}  // namespace engine
