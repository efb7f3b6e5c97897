// What the at-the-money volatility says about the coming move: the expected move, the chance of
// touching a level before the horizon and the price percentiles at the horizon. The price is
// modelled as geometric Brownian motion with drift rate - dividend.
#pragma once

#include "engine/levels.h"
#include "engine/priced_chain.h"

namespace engine {

// The volatility at spot of expiration `expiry`: each strike's mean of its call and put
// volatility, read linearly between the two strikes around spot (the nearest strike's beyond
// the range). Absent when the expiration has no contract.
Level AtTheMoneyVolatility(const PricedChain& chain, int expiry);

// Probability (0 to 1) that the price, starting at `spot`, touches `level` within `years`.
// 1 when the level is the spot itself.
double TouchProbability(double spot, double level, double sigma, double years, double rate, double dividend);

// The price at standard-normal quantile `z` of the horizon distribution (z = -1, 0, 1 give the
// 16th, 50th and 84th percentiles).
double HorizonQuantile(double spot, double sigma, double years, double rate, double dividend, double z);

}  // namespace engine
