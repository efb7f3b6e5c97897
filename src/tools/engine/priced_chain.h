// The contracts an answer is computed from, each with its time to expiry and its Greeks at spot.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/black_scholes.h"
#include "engine/option_chain.h"
#include "platform/services.h"

namespace engine {

struct MarketInputs {
  double spot = 0;         // > 0
  double asOfSeconds = 0;  // UTC
  double rate = 0;
  double dividend = 0;
};

struct PricedContract {
  int expiry = 0;  // index into PricedChain::expirations
  double strike = 0;
  bool isCall = true;
  double openInterest = 0;
  double volume = 0;
  double sigma = 0;     // the contract's implied volatility, held when the spot moves
  double years = 0;     // to the expiry's 16:00 New York close, at least one minute
  OptionGreeks greeks;  // at MarketInputs::spot
};

struct PricedChain {
  MarketInputs market;
  std::vector<std::string> expirations;  // ascending
  std::vector<double> expiryYears;       // by expiration
  std::vector<PricedContract> contracts;
};

// The UTC instant of each expiration's 16:00 New York close.
std::map<std::string, double> ExpiryCloses(const OptionChain& chain, platform::Services& services);

// The expirations, ascending, whose close is not before the as-of time; every contract of an
// earlier one is counted in `issues` as expired.
std::vector<std::string> LiveExpirations(const OptionChain& chain,
                                         const std::map<std::string, double>& closes, double asOfSeconds,
                                         RowIssues* issues);

// Prices the contracts of the `used` expirations (ascending) at `market`.
PricedChain PriceChain(const OptionChain& chain, const std::vector<std::string>& used,
                       const std::map<std::string, double>& closes, const MarketInputs& market);

}  // namespace engine
