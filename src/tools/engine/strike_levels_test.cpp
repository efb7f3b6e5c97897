#include "engine/strike_levels.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/black_scholes.h"
#include "engine/volatility_levels.h"

namespace engine {
namespace {

TEST(StrikeLevels, StrongestStrikePrefersTheNearerThenTheLowerOnTies) {
  const std::vector<double> strikes = {90, 95, 100, 105, 110};
  struct Case {
    std::vector<double> values;
    double spot;
    bool has;
    double strike;
  };
  const Case cases[] = {
      {{1, 5, 2, 5, 0}, 101, true, 105},
      {{1, 5, 2, 5, 0}, 99, true, 95},
      {{1, 5, 2, 5, 0}, 100, true, 95},
      {{0, -3, 0, -1, 0}, 100, false, 0},
  };
  for (const Case& c : cases) {
    const Level l = StrongestStrike(strikes, c.values, c.spot);
    EXPECT_EQ(l.has, c.has) << c.spot;
    if (c.has) {
      EXPECT_EQ(l.value, c.strike) << c.spot;
    }
  }
}

TEST(StrikeLevels, CrossingsAreReadLinearlyNearestSpot) {
  const std::vector<double> strikes = {10, 20, 30, 40};
  // Running sums -4, -2, +2, -6: crossings at 25 and 32.5.
  const std::vector<double> values = {-4, 2, 4, -8};
  const StrikeCrossing near25 = CumulativeCrossing(strikes, values, 26);
  EXPECT_DOUBLE_EQ(near25.price, 25);
  EXPECT_EQ(near25.lowStrike, 20);
  EXPECT_EQ(near25.highStrike, 30);
  EXPECT_DOUBLE_EQ(CumulativeCrossing(strikes, values, 31).price, 32.5);
  // The values themselves: -4 to 2 at 10 + 10 x 4/6, 4 to -8 at 30 + 10 x 4/12.
  EXPECT_DOUBLE_EQ(LocalCrossing(strikes, values, 15).price, 10 + 40.0 / 6);
  EXPECT_DOUBLE_EQ(LocalCrossing(strikes, values, 35).price, 30 + 40.0 / 12);
  EXPECT_FALSE(CumulativeCrossing(strikes, {1, 1, 1, 1}, 20).found);
  EXPECT_EQ(HighestNegativeBelow(strikes, values, 40).value, 10);
  EXPECT_FALSE(HighestNegativeBelow(strikes, values, 10).has);
}

TEST(StrikeLevels, TopByMagnitudeAndStrikeBands) {
  const std::vector<double> strikes = {10, 20, 40, 50};
  const std::vector<RankedStrike> top = TopByMagnitude(strikes, {1, -8, 4, 0}, 2);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].strike, 20);
  EXPECT_EQ(top[0].intensity, 1);
  EXPECT_EQ(top[1].strike, 40);
  EXPECT_EQ(top[1].intensity, 0.5);
  EXPECT_EQ(TopByMagnitude(strikes, {0, 0, 0, 0}, 3).size(), 0u);
  struct Case {
    size_t index;
    double low, high;
  };
  for (const Case& c : {Case{0, 5, 15}, Case{1, 15, 30}, Case{3, 45, 55}}) {
    const Band b = StrikeBand(strikes, c.index);
    EXPECT_EQ(b.low, c.low) << c.index;
    EXPECT_EQ(b.high, c.high) << c.index;
  }
}

// Without drift (r - q = sigma^2 / 2) the reflection principle gives 2 N(-|ln(H/S)| / sigma sqrt T).
TEST(VolatilityLevels, TouchProbabilityMatchesTheDriftlessReflection) {
  const double sigma = 0.2, years = 0.25, rate = 0.5 * sigma * sigma;
  for (double level : {90.0, 97.0, 103.0, 125.0}) {
    const double expected = 2 * NormalCdf(-std::fabs(std::log(level / 100)) / (sigma * std::sqrt(years)));
    EXPECT_NEAR(TouchProbability(100, level, sigma, years, rate, 0), expected, 1e-12) << level;
  }
  EXPECT_EQ(TouchProbability(100, 100, sigma, years, 0.04, 0), 1);
  EXPECT_LT(TouchProbability(100, 400, 0.001, 0.01, 0.04, 0), 1e-12) << "no overflow to 1";
  // With an upward drift an upper level is likelier to be touched than a lower one as far.
  EXPECT_GT(TouchProbability(100, 110, 0.2, 1, 0.1, 0), TouchProbability(100, 100 / 1.1, 0.2, 1, 0.1, 0));
  EXPECT_NEAR(HorizonQuantile(100, 0.2, 1, 0.02, 0, 0), 100, 1e-12) << "median with mu = 0";
  EXPECT_NEAR(HorizonQuantile(100, 0.2, 1, 0.02, 0, 1), 100 * std::exp(0.2), 1e-12);
}

}  // namespace
}  // namespace engine
