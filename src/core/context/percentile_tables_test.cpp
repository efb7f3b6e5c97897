#include "context/percentile_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace context {
namespace {

TEST(PercentileTables, NeverDecrease) {
  const std::pair<const char*, const PercentileTable&> tables[] = {{"flip", FlipStressTable()},
                                                                   {"rv", RealizedVolTable()},
                                                                   {"vix", VixTable()},
                                                                   {"composite", CompositeTable()}};
  for (const auto& [name, table] : tables) {
    for (int i = 1; i <= 100; ++i) EXPECT_LE(table[i - 1], table[i]) << name << " at " << i;
  }
}

TEST(PercentileFromTable, RanksWithClampsAndInterpolation) {
  const struct {
    double x;
    const PercentileTable& table;
    double expected;
  } cases[] = {
      {16.47, VixTable(), 0.50},
      {-0.0483247, FlipStressTable(), 0.50},
      {0.151227, RealizedVolTable(), 0.50},
      {9.0, VixTable(), 0.0},
      {9.14, VixTable(), 0.0},
      {82.69, VixTable(), 1.0},
      {120.0, VixTable(), 1.0},
      {49.91105, CompositeTable(), 0.505},  // halfway between p50 and p51
  };
  for (const auto& c : cases) EXPECT_NEAR(PercentileFromTable(c.x, c.table), c.expected, 1e-12) << c.x;
  EXPECT_EQ(PercentileFromTable(std::nan(""), VixTable()), -1);
  EXPECT_EQ(PercentileFromTable(std::numeric_limits<double>::infinity(), VixTable()), -1);
}

}  // namespace
}  // namespace context
