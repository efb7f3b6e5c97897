#include "engine/repriced_totals.h"

#include <algorithm>
#include <cmath>

#include "engine/strike_exposures.h"

namespace engine {
namespace {

constexpr double kInvSqrt2Pi = 0.39894228040143267794;
constexpr double kInvSqrt2 = 0.70710678118654752440;
// Beyond these |d1| the density underflows and the distribution function is 0 or 1 to double
// precision, so the contract adds nothing or a constant.
constexpr double kGammaCutoff = 38;
constexpr double kDeltaCutoff = 8.5;

// Refines a bracket [a, b] whose ends have values of opposite sign (or a zero end).
double Bisect(const std::function<double(double)>& curve, double a, double fa, double b,
              double tolerance) {
  while (b - a > tolerance) {
    const double mid = 0.5 * (a + b);
    const double fm = curve(mid);
    if ((fm < 0) == (fa < 0)) {
      a = mid;
      fa = fm;
    } else {
      b = mid;
    }
  }
  return 0.5 * (a + b);
}

}  // namespace

RepricedTotals::RepricedTotals(const PricedChain& chain, double low, double high) {
  const double lnLow = std::log(low);
  const double lnHigh = std::log(high);
  const MarketInputs& m = chain.market;
  for (const PricedContract& c : chain.contracts) {
    const double sigmaRootT = c.sigma * std::sqrt(c.years);
    Term term;
    term.scale = 1.0 / sigmaRootT;
    term.offset = (-std::log(c.strike) + (m.rate - m.dividend + 0.5 * c.sigma * c.sigma) * c.years) /
                  sigmaRootT;
    const double dLow = term.offset + term.scale * lnLow;
    const double dHigh = term.offset + term.scale * lnHigh;
    const double units = std::exp(-m.dividend * c.years) * c.openInterest * kContractMultiplier;
    if (dLow < kGammaCutoff && dHigh > -kGammaCutoff) {
      Term gamma = term;
      gamma.weight = (c.isCall ? 1.0 : -1.0) * units * 0.01 * term.scale * kInvSqrt2Pi;
      gammaTerms_.push_back(gamma);
    }
    if (!c.isCall) constantDelta_ -= units;  // put delta = discounted (N(d1) - 1)
    if (dLow > kDeltaCutoff) {
      constantDelta_ += units;
    } else if (dHigh >= -kDeltaCutoff) {
      Term delta = term;
      delta.weight = units;
      deltaTerms_.push_back(delta);
    }
  }
}

double RepricedTotals::GammaAt(double price) const {
  const double ln = std::log(price);
  double sum = 0;
  for (const Term& t : gammaTerms_) {
    const double d = t.offset + t.scale * ln;
    sum += t.weight * std::exp(-0.5 * d * d);
  }
  return sum * price;  // gamma x price^2 with gamma carrying 1 / price
}

double RepricedTotals::DeltaAt(double price) const {
  const double ln = std::log(price);
  double sum = constantDelta_;
  for (const Term& t : deltaTerms_) {
    const double d = t.offset + t.scale * ln;
    sum += t.weight * 0.5 * std::erfc(-d * kInvSqrt2);
  }
  return sum * price;
}

ZeroCrossing FindZeroNearSpot(const std::function<double(double)>& curve, double spot, double low,
                              double high, int steps, double tolerance) {
  std::vector<double> grid(steps + 1), values(steps + 1);
  ZeroCrossing result;
  for (int i = 0; i <= steps; ++i) {
    grid[i] = low + (high - low) * i / steps;
    values[i] = curve(grid[i]);
    result.largestValue = std::max(result.largestValue, std::fabs(values[i]));
  }
  // The nearest sign change below spot and the nearest above it (a step holding spot counts
  // for both sides).
  int below = -1, above = -1;
  for (int i = 0; i < steps; ++i) {
    if ((values[i] < 0) == (values[i + 1] < 0)) continue;
    if (grid[i] <= spot) below = i;
    if (grid[i + 1] >= spot && above < 0) above = i;
  }
  for (int i : {below, above}) {
    if (i < 0) continue;
    const double zero = Bisect(curve, grid[i], values[i], grid[i + 1], tolerance);
    if (!result.found || std::fabs(zero - spot) < std::fabs(result.price - spot)) {
      result.found = true;
      result.price = zero;
      result.slope = (values[i + 1] - values[i]) / (grid[i + 1] - grid[i]);
    }
  }
  return result;
}

}  // namespace engine
