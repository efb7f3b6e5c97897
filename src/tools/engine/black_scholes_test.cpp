#include "engine/black_scholes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace engine {
namespace {

struct Case {
  const char* name;
  OptionInputs in;
};

const Case kCases[] = {
    {"at the money call, a month", {100, 100, 30.0 / 365, 0.045, 0.01, 0.2, true}},
    {"at the money put, a month", {100, 100, 30.0 / 365, 0.045, 0.01, 0.2, false}},
    {"out of the money call, a year", {521.21, 600, 1.0, 0.045, 0.006, 0.16, true}},
    {"in the money put, a week, steep vol", {521.21, 560, 7.0 / 365, 0.045, 0.0, 0.35, false}},
    {"deep put wing, two days", {5900, 5500, 2.0 / 365, 0.05, 0.013, 0.28, false}},
    {"call under negative rate", {50, 48, 0.5, -0.005, 0.02, 0.4, true}},
    {"same-day call, six hours", {521.21, 522, 6.0 / (24 * 365), 0.045, 0.0, 0.15, true}},
};

double Relative(double got, double want) { return std::fabs(got - want) / std::fmax(std::fabs(want), 1e-12); }

OptionGreeks At(OptionInputs in, double spot, double sigma, double years) {
  in.spot = spot;
  in.sigma = sigma;
  in.years = years;
  return BsmGreeks(in);
}

// Each analytic Greek against a central difference of the price (or of delta).
TEST(BlackScholes, GreeksMatchFiniteDifferences) {
  for (const Case& c : kCases) {
    const OptionInputs& in = c.in;
    const OptionGreeks g = BsmGreeks(in);
    // Steps a ten-thousandth of the price distribution's width, so truncation stays far below
    // the tolerances even a few hours from expiry.
    const double width = in.spot * in.sigma * std::sqrt(in.years);
    const double hs = width * 1e-4, hv = in.sigma * 1e-4, ht = in.years * 1e-4;
    const OptionGreeks up = At(in, in.spot + hs, in.sigma, in.years);
    const OptionGreeks down = At(in, in.spot - hs, in.sigma, in.years);
    const OptionGreeks volUp = At(in, in.spot, in.sigma + hv, in.years);
    const OptionGreeks volDown = At(in, in.spot, in.sigma - hv, in.years);
    const OptionGreeks later = At(in, in.spot, in.sigma, in.years - ht);
    const OptionGreeks earlier = At(in, in.spot, in.sigma, in.years + ht);
    EXPECT_LT(Relative(g.delta, (up.price - down.price) / (2 * hs)), 1e-6) << c.name;
    EXPECT_LT(Relative(g.gamma, (up.delta - down.delta) / (2 * hs)), 1e-6) << c.name;
    EXPECT_LT(Relative(g.vega, (volUp.price - volDown.price) / (2 * hv)), 1e-6) << c.name;
    EXPECT_LT(Relative(g.vanna, (volUp.delta - volDown.delta) / (2 * hv)), 1e-5) << c.name;
    // Charm is the drift of delta as time passes, i.e. as maturity shrinks.
    EXPECT_LT(Relative(g.charm, (later.delta - earlier.delta) / (2 * ht)), 1e-5) << c.name;
  }
}

TEST(BlackScholes, PutCallParityHolds) {
  for (const Case& c : kCases) {
    OptionInputs call = c.in, put = c.in;
    call.isCall = true;
    put.isCall = false;
    const double forwardValue =
        c.in.spot * std::exp(-c.in.dividend * c.in.years) - c.in.strike * std::exp(-c.in.rate * c.in.years);
    EXPECT_NEAR(BsmGreeks(call).price - BsmGreeks(put).price, forwardValue, 1e-9 * c.in.spot) << c.name;
  }
}

TEST(BlackScholes, TimeAndVolatilityAreRaisedToTheirFloors) {
  const OptionInputs expired{100, 100, 0, 0.045, 0, 0.2, true};
  const OptionInputs oneMinute{100, 100, kMinYears, 0.045, 0, 0.2, true};
  EXPECT_DOUBLE_EQ(BsmGreeks(expired).gamma, BsmGreeks(oneMinute).gamma) << "years 0";
  const OptionInputs noVol{100, 101, 0.1, 0.045, 0, 0, false};
  const OptionInputs floorVol{100, 101, 0.1, 0.045, 0, kMinSigma, false};
  EXPECT_DOUBLE_EQ(BsmGreeks(noVol).price, BsmGreeks(floorVol).price) << "sigma 0";
  EXPECT_TRUE(std::isfinite(BsmGreeks(noVol).vanna)) << "sigma 0";
}

TEST(BlackScholes, NormalTailsKeepTheirPrecision) {
  EXPECT_DOUBLE_EQ(NormalCdf(0), 0.5);
  EXPECT_NEAR(NormalCdf(-10) / 7.61985302416047e-24, 1, 1e-12) << "a naive 1 - cdf(10) is 0";
  EXPECT_NEAR(NormalCdf(1.959963984540054), 0.975, 1e-15);
}

}  // namespace
}  // namespace engine
