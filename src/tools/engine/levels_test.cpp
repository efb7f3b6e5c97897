#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "engine/black_scholes.h"
#include "engine/engine_test_support.h"
#include "engine/max_pain.h"
#include "engine/repriced_totals.h"
#include "engine/synthetic_chain.h"
#include "formats/typed_time.h"

namespace engine {
namespace {

// 16:00 New York on 2025-01-02; the expiry closes 30 days later, so every contract has exactly
// 30/365 years left. Rate and dividend 0, volatility 20 %.
constexpr const char* kAsOf = "2025-01-02T21:00:00Z";
EngineSettings NoCarry() {
  EngineSettings s;
  s.rate = 0;
  s.dividend = 0;
  return s;
}

// Worked by hand: with S = 100, T = 30/365, sigma = 0.2, d1 = (ln(100/K) + 0.02 T) / 0.05734;
// gamma x 100 x S^2 x 1 % per contract is 454.333 at K 95 (d1 0.92324), 695.484 at K 100
// (d1 0.02867) and 496.197 at K 105 (d1 -0.82225).
TEST(EngineLevels, ThreeStrikeChainWorkedByHand) {
  const OptionChain chain = ChainOf({{"2025-02-01", 95, false, 500, 0.2},
                                     {"2025-02-01", 100, true, 100, 0.2},
                                     {"2025-02-01", 100, false, 100, 0.2},
                                     {"2025-02-01", 105, true, 600, 0.2}},
                                    100, kAsOf);
  const EngineAnswer a = RunOn(chain, NoCarry());
  ASSERT_EQ(a.rows.size(), 3u);
  // Net per strike: 95: -500 x 454.333; 100: 100 x 695.484 - 100 x 695.484 = 0; 105: 600 x 496.197.
  EXPECT_NEAR(a.rows[0].netGex, -227166.494, 1e-3);
  EXPECT_EQ(a.rows[1].netGex, 0.0);
  EXPECT_NEAR(a.rows[2].netGex, 297717.991, 1e-3);
  EXPECT_NEAR(a.levels.netGex, 70551.497, 1e-3);
  const Levels& l = a.levels;
  EXPECT_EQ(l.callWall.value, 105) << "600 x 496 beats 100 x 695";
  EXPECT_EQ(l.putWall.value, 95);
  EXPECT_EQ(l.callOiWall.value, 105);
  EXPECT_EQ(l.putOiWall.value, 95);
  // Running sum -227166.494, -227166.494, +70551.497: it changes sign between 100 and 105,
  // 227166.494 / 297717.991 of the way: 103.81513.
  ASSERT_TRUE(l.gammaFlip.has);
  EXPECT_NEAR(l.gammaFlip.value, 103.81513, 1e-5);
  EXPECT_EQ(l.battleZone.low, 100);
  EXPECT_EQ(l.battleZone.high, 105);
  EXPECT_EQ(l.volTrigger.value, 95) << "100 nets to exactly 0, so 95 is the first negative";
  // Holders' payout settling at 95: puts at 100 pay 100 x 5 = 500; at 100: nothing; at 105:
  // calls at 100 pay 100 x 5 = 500. Max pain 100.
  EXPECT_EQ(l.maxPain.value, 100);
}

// The flip once ran its sum from the chain's lowest strike: a year out, puts 25 to 40 % below
// spot still carry gamma enough to hold the sum below zero past spot, and the flip vanished.
// Summed over spot +-20 %, strikes outside that window move nothing; those inside still do.
TEST(EngineLevels, GammaFlipSumsOnlyTheStrikesWithinTheModelWindow) {
  const std::vector<Row> near = {{"2026-01-02", 95, false, 100, 0.2},
                                 {"2026-01-02", 100, true, 100, 0.2},
                                 {"2026-01-02", 105, true, 200, 0.2}};
  struct Case {
    const char* name;
    std::vector<std::pair<double, bool>> added;  // strike, call; 2000 contracts each
    bool sameFlip;
  };
  const Case cases[] = {
      {"puts 25 to 40 % below", {{60, false}, {65, false}, {70, false}, {75, false}}, true},
      {"calls 30 % above", {{130, true}, {140, true}}, true},
      {"a put at the window's edge", {{80, false}}, false},
  };
  const EngineAnswer alone = RunOn(ChainOf(near, 100, kAsOf), NoCarry());
  ASSERT_TRUE(alone.levels.gammaFlip.has);
  for (const Case& c : cases) {
    std::vector<Row> rows = near;
    for (const auto& [strike, call] : c.added) rows.push_back({"2026-01-02", strike, call, 2000, 0.2});
    const Levels l = RunOn(ChainOf(rows, 100, kAsOf), NoCarry()).levels;
    EXPECT_EQ(l.gammaFlip.has && l.gammaFlip.value == alone.levels.gammaFlip.value, c.sameFlip)
        << c.name << ": " << l.gammaFlip.has << " " << l.gammaFlip.value;
  }
}

// Calls at c e^a and puts at c e^-a with equal open interest and volatility: with no carry the
// two gammas (and the two |deltas|) balance where ln s = ln c - sigma^2 T / 2.
TEST(EngineLevels, SymmetricChainHasItsZerosAtTheCentre) {
  const double centre = 100, sigma = 0.2, years = 30.0 / 365;
  std::vector<Row> rows;
  for (double a : {0.02, 0.05, 0.09}) {
    const double oi = 1000 * (1 + 10 * a);
    rows.push_back({"2025-02-01", centre * std::exp(a), true, oi, sigma});
    rows.push_back({"2025-02-01", centre * std::exp(-a), false, oi, sigma});
  }
  const EngineAnswer answer = RunOn(ChainOf(rows, centre, kAsOf), NoCarry());
  const double zero = centre * std::exp(-0.5 * sigma * sigma * years);
  ASSERT_TRUE(answer.levels.zeroGamma.has);
  ASSERT_TRUE(answer.levels.zeroDex.has);
  EXPECT_NEAR(answer.levels.zeroGamma.value, zero, 2e-6 * centre);
  EXPECT_NEAR(answer.levels.zeroDex.value, zero, 2e-6 * centre);
  EXPECT_TRUE(answer.levels.zeroGammaBand.has);
  EXPECT_LT(answer.levels.zeroGammaBand.low, zero);
  EXPECT_GT(answer.levels.zeroGammaBand.high, zero);
}

TEST(EngineLevels, ZeroGammaIsAbsentWhenTheCurveNeverCrosses) {
  const OptionChain onlyCalls =
      ChainOf({{"2025-02-01", 100, true, 10, 0.2}, {"2025-02-01", 105, true, 10, 0.2}}, 100, kAsOf);
  const EngineAnswer a = RunOn(onlyCalls, NoCarry());
  EXPECT_FALSE(a.levels.zeroGamma.has);
  EXPECT_FALSE(a.levels.zeroGammaBand.has);
}

// Worked by hand: calls of 10 at 100 and puts of 10 at 110 pay holders 100 settling at either
// strike, so the tie goes to the strike nearer spot, then to the lower.
TEST(EngineLevels, MaxPainTiesGoNearerSpotThenLower) {
  // Expiry, strike, call, open interest; volume, volatility, years and Greeks play no part.
  const std::vector<PricedContract> book = {
      {0, 100, true, 10, 0, 0, 0, {}}, {0, 110, false, 10, 0, 0, 0, {}}, {1, 100, true, 0, 0, 0, 0, {}}};
  EXPECT_EQ(HoldersPayout(book, 0, 105), 100) << "50 to the calls and 50 to the puts";
  const struct { double spot, maxPain; } cases[] = {{104, 100}, {106, 110}, {105, 100}};
  for (const auto& c : cases) EXPECT_EQ(MaxPain(book, 0, c.spot).value, c.maxPain) << c.spot;
  EXPECT_FALSE(MaxPain(book, 1, 100).has) << "an expiration without open interest";
}

// Total exposure at another price the slow way: every contract repriced through BsmGreeks.
double DirectTotal(const PricedChain& chain, double price, bool gamma) {
  double sum = 0;
  for (const PricedContract& c : chain.contracts) {
    const OptionGreeks g =
        BsmGreeks({price, c.strike, c.years, chain.market.rate, chain.market.dividend, c.sigma, c.isCall});
    sum += gamma ? (c.isCall ? 1 : -1) * g.gamma * c.openInterest * 100 * price * price * 0.01
                 : g.delta * c.openInterest * 100 * price;
  }
  return sum;
}

TEST(EngineLevels, ModelZerosOfALargeChainAreWithinATenThousandthOfSpot) {
  const EngineAnswer a = RunOn(SyntheticChain(20000, 521.21));
  const PricedChain& chain = a.priced;
  ASSERT_GE(chain.contracts.size(), 19000u);
  const double spot = chain.market.spot;
  // The cached curve agrees with the per-strike sums at spot.
  const RepricedTotals totals(chain, spot * 0.8, spot * 1.2);
  EXPECT_NEAR(totals.GammaAt(spot), a.levels.netGex, 1e-9 * std::fabs(a.levels.netGex));
  EXPECT_NEAR(totals.DeltaAt(spot), a.levels.netDex, 1e-9 * std::fabs(a.levels.netDex));
  // The grid's product recurrence against one exponential per contract and point.
  const std::vector<double> prices = GeometricGrid(spot * 0.8, spot * 1.2, 80);
  const std::vector<double> grid = totals.GammaOnGrid(spot * 0.8, spot * 1.2, 80);
  double largest = 0;
  for (double v : grid) largest = std::fmax(largest, std::fabs(v));
  for (size_t i = 0; i < prices.size(); ++i) {
    EXPECT_NEAR(grid[i], totals.GammaAt(prices[i]), 1e-10 * largest) << "grid point " << i;
  }
  ASSERT_TRUE(a.levels.zeroGamma.has);
  ASSERT_TRUE(a.levels.zeroDex.has);
  // Each zero is one of the slow curve: its sign changes within a ten-thousandth of spot.
  for (const bool gamma : {true, false}) {
    const double zero = (gamma ? a.levels.zeroGamma : a.levels.zeroDex).value;
    EXPECT_LT(DirectTotal(chain, zero - 1e-4 * spot, gamma) * DirectTotal(chain, zero + 1e-4 * spot, gamma),
              0)
        << (gamma ? "gamma" : "delta");
  }
}

// The charm hedge runs to the next weekday close: today's while it is ahead, else the next
// weekday's (2025-01-03 is a Friday).
TEST(EngineLevels, NextCloseSkipsTheWeekend) {
  struct Case {
    const char* asOf;
    double hours;
  };
  const Case cases[] = {
      {"2025-01-02 10:00:00", 6},
      {"2025-01-02 16:00:00", 0},
      {"2025-01-02 17:00:00", 23},
      {"2025-01-03 17:00:00", 71},
      {"2025-01-04 16:00:00", 48},
      {"2025-03-07 17:00:00", 70},  // the weekend the clocks spring forward has 47 hours
  };
  platform::PosixServices services;
  for (const Case& c : cases) {
    double asOf = 0;
    ASSERT_TRUE(formats::ParseTypedTime(c.asOf, services, &asOf)) << c.asOf;
    EXPECT_EQ(SecondsToNextClose(services, asOf), c.hours * 3600) << c.asOf;
  }
}

// --as-of (and a chain's own time) is read as every typed time is: the same texts, the same
// instants, the same refusals as a bar time (formats/bars_csv_test checks that side).
TEST(EngineAsOf, ReadsItsTimeAsEveryTypedTimeIsRead) {
  const OptionChain chain = ChainOf({{"2099-12-18", 100, true, 10, 0.2}}, 100, "");
  for (const char* time :
       {"2025-01-02T14:30:00+05", "2025-01-02 09:30", "2025-01-02", "2016-12-31T23:59:60Z", "123456789.5",
        "20250102", "2025-01-02T14:30+19:00", "2025-01-02T24:00Z", "01/13/2025 9:30", "03/04/2025"}) {
    double typed = -1;
    const bool readable = formats::ParseTypedTime(time, platform::DefaultServices(), &typed);
    EngineSettings settings;
    settings.asOf = time;
    EngineAnswer answer;
    std::string error;
    EXPECT_EQ(RunEngine(chain, settings, platform::DefaultServices(), &answer, &error), readable)
        << time << ": " << error;
    if (readable) {
      EXPECT_EQ(answer.asOfSeconds, typed) << time;
    } else {
      EXPECT_EQ(error.rfind(std::string("unreadable as-of time '") + time + "': expected", 0), 0u) << error;
    }
  }
}

}  // namespace
}  // namespace engine
