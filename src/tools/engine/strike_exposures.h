// Dollar exposures of each contract and their sums by strike, from the dealers' side: dealers
// are taken to be long the calls and short the puts of the open interest, so gamma, vega, vanna
// and charm take the sign +1 for a call and -1 for a put. Delta alone keeps its own sign (the
// open interest's delta): from the dealers' side every contract's delta would be positive and
// there would be no zero DEX to find.
#pragma once

#include <vector>

#include "engine/priced_chain.h"

namespace engine {

inline constexpr double kContractMultiplier = 100;

struct Exposure {
  double gex = 0;    // dealers' $ of delta per 1 % move of the underlying
  double dex = 0;    // $ of delta notional of the open interest (calls +, puts -)
  double vanna = 0;  // dealers' $ of delta notional per volatility point
  double charm = 0;  // dealers' $ of delta notional per day
  double vega = 0;   // dealers' $ of option value per volatility point
};

// The exposure of `contracts` contracts of `c` at spot `spot`.
Exposure ExposureOf(const PricedContract& c, double spot, double contracts);

struct StrikeRow {
  double strike = 0;
  double callGex = 0;  // >= 0
  double putGex = 0;   // <= 0
  double netGex = 0;
  double dex = 0, vanna = 0, charm = 0, vega = 0;
  double callOi = 0, putOi = 0, volume = 0;
  double callHybridGex = 0, putHybridGex = 0;  // with the day's volume added to open interest
  double callIvOi = 0, putIvOi = 0;            // sum of volatility x open interest
  std::vector<double> gexByExpiry;             // net, by PricedChain::expirations
};

// One row per distinct strike, ascending.
std::vector<StrikeRow> ExposuresByStrike(const PricedChain& chain);

// The strikes of `rows`, and one field of them, as parallel lists.
std::vector<double> Strikes(const std::vector<StrikeRow>& rows);
std::vector<double> Field(const std::vector<StrikeRow>& rows, double StrikeRow::*field);

}  // namespace engine
