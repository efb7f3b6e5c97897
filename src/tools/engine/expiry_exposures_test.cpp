#include "engine/expiry_exposures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "engine/engine_test_support.h"
#include "engine/synthetic_chain.h"

namespace engine {
namespace {

TEST(ExpiryExposures, SplitTheStrikeTotalsByExpiration) {
  const EngineAnswer a = RunOn(SyntheticChain(2000, 521.21));
  const std::vector<ExpiryExposure> split = ExposuresByStrikeAndExpiry(a.priced);
  ASSERT_FALSE(split.empty());
  std::map<double, ExpiryExposure> sums;
  for (size_t i = 0; i < split.size(); ++i) {
    const ExpiryExposure& e = split[i];
    if (i > 0) {
      const ExpiryExposure& p = split[i - 1];
      EXPECT_TRUE(p.strike < e.strike || (p.strike == e.strike && p.expiry < e.expiry)) << i;
    }
    ExpiryExposure& s = sums[e.strike];
    s.gex += e.gex;
    s.dex += e.dex;
    s.vanna += e.vanna;
    s.charm += e.charm;
  }
  ASSERT_EQ(sums.size(), a.rows.size());
  for (const StrikeRow& row : a.rows) {
    const ExpiryExposure& s = sums[row.strike];
    const double scale = 1e-9 * (1 + std::fabs(row.netGex) + std::fabs(row.dex));
    EXPECT_NEAR(s.gex, row.netGex, scale) << row.strike;
    EXPECT_NEAR(s.dex, row.dex, 1e-9 * (1 + std::fabs(row.dex))) << row.strike;
    EXPECT_NEAR(s.vanna, row.vanna, 1e-9 * (1 + std::fabs(row.vanna))) << row.strike;
    EXPECT_NEAR(s.charm, row.charm, 1e-9 * (1 + std::fabs(row.charm))) << row.strike;
  }
  // Within one expiration the contracts are added in the per-strike order, so the net GEX of
  // each entry is exactly the strike row's share for that expiration.
  size_t r = 0;
  for (const ExpiryExposure& e : split) {
    while (a.rows[r].strike != e.strike) ++r;
    EXPECT_EQ(e.gex, a.rows[r].gexByExpiry[e.expiry]) << e.strike << " " << e.expiry;
  }
}

TEST(ExpiryExposures, OnlyStrikesAnExpirationTrades) {
  const OptionChain chain = ChainOf({{"2025-02-21", 100, true, 10, 0.2},
                                     {"2025-02-21", 100, false, 20, 0.2},
                                     {"2025-01-17", 105, true, 30, 0.2},
                                     {"2025-02-21", 95, false, 40, 0.2}},
                                    100, "2025-01-02T21:00:00Z");
  const EngineAnswer a = RunOn(chain);
  ASSERT_EQ(a.priced.expirations, (std::vector<std::string>{"2025-01-17", "2025-02-21"}));
  std::vector<std::pair<double, int>> keys;
  for (const ExpiryExposure& e : ExposuresByStrikeAndExpiry(a.priced)) keys.emplace_back(e.strike, e.expiry);
  EXPECT_EQ(keys, (std::vector<std::pair<double, int>>{{95, 1}, {100, 1}, {105, 0}}));
}

}  // namespace
}  // namespace engine
