#include "engine/black_scholes.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

constexpr double kInvSqrt2 = 0.70710678118654752440;
constexpr double kInvSqrt2Pi = 0.39894228040143267794;

}  // namespace

double NormalCdf(double x) { return 0.5 * std::erfc(-x * kInvSqrt2); }

double NormalPdf(double x) { return kInvSqrt2Pi * std::exp(-0.5 * x * x); }

OptionGreeks BsmGreeks(const OptionInputs& in) {
  const double t = std::max(in.years, kMinYears);
  const double sigma = std::max(in.sigma, kMinSigma);
  const double sqrtT = std::sqrt(t);
  const double sigmaRootT = sigma * sqrtT;
  const double carry = in.rate - in.dividend;
  const double d1 = (std::log(in.spot / in.strike) + (carry + 0.5 * sigma * sigma) * t) / sigmaRootT;
  const double d2 = d1 - sigmaRootT;
  const double dividendDiscount = std::exp(-in.dividend * t);
  const double rateDiscount = std::exp(-in.rate * t);
  const double density = NormalPdf(d1);
  // d d1 / d maturity, shared by both kinds' charm.
  const double d1Drift = (2.0 * carry * t - d2 * sigmaRootT) / (2.0 * t * sigmaRootT);

  OptionGreeks g;
  g.gamma = dividendDiscount * density / (in.spot * sigmaRootT);
  g.vega = in.spot * dividendDiscount * density * sqrtT;
  g.vanna = -dividendDiscount * density * d2 / sigma;
  if (in.isCall) {
    const double nd1 = NormalCdf(d1);
    g.price = in.spot * dividendDiscount * nd1 - in.strike * rateDiscount * NormalCdf(d2);
    g.delta = dividendDiscount * nd1;
    g.charm = in.dividend * dividendDiscount * nd1 - dividendDiscount * density * d1Drift;
  } else {
    const double nMinusD1 = NormalCdf(-d1);
    g.price = in.strike * rateDiscount * NormalCdf(-d2) - in.spot * dividendDiscount * nMinusD1;
    g.delta = -dividendDiscount * nMinusD1;
    g.charm = -in.dividend * dividendDiscount * nMinusD1 - dividendDiscount * density * d1Drift;
  }
  return g;
}

}  // namespace engine
