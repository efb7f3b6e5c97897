// The chain's total dealer gamma and delta exposure as if the underlying stood at another
// price, every contract repriced with its own volatility and time held, and the zero of such a
// curve nearest spot. The per-contract terms that do not depend on the price are cached.
#pragma once

#include <functional>
#include <vector>

#include "engine/priced_chain.h"

namespace engine {

class RepricedTotals {
 public:
  // Prices in [low, high] are supported; contracts whose contribution is constant there (gamma
  // nil, delta 0 or fully in the money) are folded into constants.
  RepricedTotals(const PricedChain& chain, double low, double high);

  // Total gamma exposure ($ per 1 % move, dealer sign) with the underlying at `price`.
  double GammaAt(double price) const;
  // Total delta exposure ($ notional) with the underlying at `price`.
  double DeltaAt(double price) const;

 private:
  struct Term {
    double offset = 0;  // d1 = offset + scale x ln(price)
    double scale = 0;
    double weight = 0;
  };
  std::vector<Term> gammaTerms_;
  std::vector<Term> deltaTerms_;
  double constantDelta_ = 0;  // sum of discounted contract units that are price-independent
};

struct ZeroCrossing {
  bool found = false;
  double price = 0;
  double slope = 0;         // of the curve across the grid step holding the zero
  double largestValue = 0;  // largest |value| on the grid
};

// Evaluates `curve` on `steps` equal intervals of [low, high], takes the sign changes of the two
// grid steps nearest `spot` (one each side), bisects each to `tolerance` and keeps the zero
// nearer spot. `found` false when the grid shows no sign change.
ZeroCrossing FindZeroNearSpot(const std::function<double(double)>& curve, double spot, double low,
                              double high, int steps, double tolerance);

}  // namespace engine
