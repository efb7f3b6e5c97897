#include "context/percentile_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace context {
namespace {

struct Published {
  const char* name;
  const PercentileTable& table;
  double values[12];
};

TEST(PercentileTables, PassThroughEveryPublishedRowAndNeverDecrease) {
  const int percentiles[12] = {0, 1, 5, 10, 25, 50, 51, 75, 90, 95, 99, 100};
  const Published tables[] = {
      {"flip", FlipStressTable(), {-0.55245, -0.344693, -0.216359, -0.15881, -0.0945411, -0.0483247,
                                   -0.0466323, -0.0154884, -0.00198683, 0.00352984, 0.0185255, 0.0835279}},
      {"rv", RealizedVolTable(), {0.00729512, 0.0293549, 0.0487604, 0.0628387, 0.0963666, 0.151227,
                                  0.153598, 0.22868, 0.327198, 0.408551, 0.581731, 1.4686}},
      {"vix", VixTable(), {9.14, 9.77, 11.001, 12.04, 13.54, 16.47, 16.6, 20.87, 26.354, 30.1485,
                           41.4931, 82.69}},
      {"composite", CompositeTable(), {1.24924, 6.63583, 16.9744, 22.9486, 33.9722, 49.5512, 50.2709,
                                       65.2078, 78.515, 86.1674, 96.1856, 99.9999}},
  };
  for (const Published& p : tables) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(p.table[percentiles[i]], p.values[i]) << p.name << " p" << percentiles[i];
    for (int i = 1; i <= 100; ++i) EXPECT_LE(p.table[i - 1], p.table[i]) << p.name << " at " << i;
  }
}

TEST(PercentileFromTable, RanksWithClampsAndInterpolation) {
  const struct {
    double x;
    const PercentileTable& table;
    double expected;
  } cases[] = {
      {16.47, VixTable(), 0.50},      {-0.0483247, FlipStressTable(), 0.50},
      {0.151227, RealizedVolTable(), 0.50},
      {9.0, VixTable(), 0.0},         {9.14, VixTable(), 0.0},
      {82.69, VixTable(), 1.0},       {120.0, VixTable(), 1.0},
      {50.0, CompositeTable(), 0.50 + (50.0 - 49.5512) / (50.2709 - 49.5512) / 100},
  };
  for (const auto& c : cases) EXPECT_NEAR(PercentileFromTable(c.x, c.table), c.expected, 1e-12) << c.x;
  EXPECT_EQ(PercentileFromTable(std::nan(""), VixTable()), -1);
  EXPECT_EQ(PercentileFromTable(std::numeric_limits<double>::infinity(), VixTable()), -1);
}

}  // namespace
}  // namespace context
