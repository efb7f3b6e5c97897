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
  // GammaAt at the `steps` + 1 prices low x (high / low)^(i / steps), in one pass: along a
  // geometric grid each contract's density follows a product recurrence, so a grid costs a
  // few multiplications per contract and point instead of an exponential.
  std::vector<double> GammaOnGrid(double low, double high, int steps) const;
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

// The prices of a geometric grid of `steps` intervals from `low` to `high`.
std::vector<double> GeometricGrid(double low, double high, int steps);

// Given `curve` sampled at ascending `prices` (`values`), takes the sign changes nearest `spot`
// below and above it, refines the nearer one (and the other only when it could hold a nearer
// zero) to `tolerance` by false position (Illinois), and returns the zero nearer spot (the lower
// of two equally near). `found` false when the samples show no sign change.
ZeroCrossing FindZeroNearSpot(const std::function<double(double)>& curve, const std::vector<double>& prices,
                              const std::vector<double>& values, double spot, double tolerance);

}  // namespace engine
