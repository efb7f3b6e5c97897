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

// Refines a bracket [a, b] whose ends have values of opposite sign (or a zero end) by false
// position, halving the weight of an end that stays put twice (Illinois), until the estimate
// moves by less than a quarter of `tolerance` or the bracket is narrower than it.
double Refine(const std::function<double(double)>& curve, double a, double fa, double b, double fb,
              double tolerance) {
  if (fa == 0) return a;
  if (fb == 0) return b;
  double estimate = 0.5 * (a + b);
  int side = 0;
  for (int i = 0; i < 100 && b - a > tolerance; ++i) {
    double next = (a * fb - b * fa) / (fb - fa);
    if (!(next > a && next < b) || i >= 60) next = 0.5 * (a + b);  // safeguard: bisect
    const double fn = curve(next);
    const bool settled = std::fabs(next - estimate) < 0.25 * tolerance;
    estimate = next;
    if (fn == 0 || settled) break;
    if ((fn < 0) == (fa < 0)) {
      a = next;
      fa = fn;
      if (side == -1) fb *= 0.5;
      side = -1;
    } else {
      b = next;
      fb = fn;
      if (side == 1) fa *= 0.5;
      side = 1;
    }
  }
  return estimate;
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
    term.offset =
        (-std::log(c.strike) + (m.rate - m.dividend + 0.5 * c.sigma * c.sigma) * c.years) / sigmaRootT;
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

std::vector<double> GeometricGrid(double low, double high, int steps) {
  std::vector<double> prices(steps + 1);
  const double step = std::log(high / low) / steps;
  for (int i = 0; i <= steps; ++i) prices[i] = low * std::exp(step * i);
  prices[steps] = high;
  return prices;
}

std::vector<double> RepricedTotals::GammaOnGrid(double low, double high, int steps) const {
  const double lnLow = std::log(low);
  const double step = std::log(high / low) / steps;
  std::vector<double> sums(steps + 1, 0.0);
  for (const Term& t : gammaTerms_) {
    // d1 at grid point i is d0 + i x delta; exp(-d1^2 / 2) is a product of ratios that shrink
    // by exp(-delta^2) per step. Start at the peak so every later factor only shrinks it and
    // an underflow can do no harm.
    const double d0 = t.offset + t.scale * lnLow;
    const double delta = t.scale * step;
    const int peak = static_cast<int>(std::clamp(std::round(-d0 / delta), 0.0, double(steps)));
    const double dPeak = d0 + delta * peak;
    const double atPeak = t.weight * std::exp(-0.5 * dPeak * dPeak);
    const double shrink = std::exp(-delta * delta);
    double value = atPeak;
    double ratio = std::exp(-delta * dPeak - 0.5 * delta * delta);  // from i to i + 1
    sums[peak] += value;
    for (int i = peak + 1; i <= steps; ++i) {
      value *= ratio;
      ratio *= shrink;
      sums[i] += value;
    }
    value = atPeak;
    ratio = std::exp(delta * dPeak - 0.5 * delta * delta);  // from i to i - 1
    for (int i = peak - 1; i >= 0; --i) {
      value *= ratio;
      ratio *= shrink;
      sums[i] += value;
    }
  }
  const std::vector<double> prices = GeometricGrid(low, high, steps);
  for (int i = 0; i <= steps; ++i) sums[i] *= prices[i];
  return sums;
}

ZeroCrossing FindZeroNearSpot(const std::function<double(double)>& curve, const std::vector<double>& prices,
                              const std::vector<double>& values, double spot, double tolerance) {
  ZeroCrossing result;
  for (double v : values) result.largestValue = std::max(result.largestValue, std::fabs(v));
  // The nearest sign change below spot and the nearest above it (a step holding spot counts
  // for both sides).
  int below = -1, above = -1;
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    if ((values[i] < 0) == (values[i + 1] < 0)) continue;
    if (prices[i] <= spot) below = static_cast<int>(i);
    if (prices[i + 1] >= spot && above < 0) above = static_cast<int>(i);
  }
  auto distance = [&](int i) {
    return prices[i + 1] < spot ? spot - prices[i + 1] : prices[i] > spot ? prices[i] - spot : 0.0;
  };
  if (below >= 0 && above >= 0 && distance(above) < distance(below)) std::swap(below, above);
  // Zeros equally near spot go to the lower one.
  auto better = [&](double zero) {
    const double d = std::fabs(zero - spot), best = std::fabs(result.price - spot);
    return !result.found || d < best || (d == best && zero < result.price);
  };
  for (int i : {below, above}) {
    if (i < 0 || (result.found && distance(i) > std::fabs(result.price - spot))) continue;
    const double zero = Refine(curve, prices[i], values[i], prices[i + 1], values[i + 1], tolerance);
    if (better(zero)) {
      result.found = true;
      result.price = zero;
      result.slope = (values[i + 1] - values[i]) / (prices[i + 1] - prices[i]);
    }
  }
  return result;
}

}  // namespace engine
