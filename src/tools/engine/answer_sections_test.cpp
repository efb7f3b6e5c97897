// The touch levels, the hedge flows and the flip side of the answer, as the study reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/answer_writer.h"
#include "engine/chain_reader.h"
#include "engine/engine_test_support.h"
#include "json/json_node.h"
#include "payload/payload_test_support.h"

namespace engine {
namespace {

// The "price" of every touch level the answer writes, in order.
std::vector<double> TouchPrices(const std::string& answer) {
  const payload::testing::ParsedJson json = payload::testing::Json(answer);
  const json::Node levels =
      json::Member(json::Member(json::Member(json.root(), "extended_levels"), "implied_density"), "levels");
  std::vector<double> prices;
  for (const json::Node entry : levels.Elements()) prices.push_back(json::Member(entry, "price").number());
  return prices;
}

// The study keeps 8 touch levels and labels a line with the first within 0.01 of it: the sample
// once sent 10, and the OI walls' and zero DEX's lines went without a probability.
TEST(AnswerSections, EveryCoreLineOfTheSampleGetsItsTouchProbability) {
  OptionChain chain;
  std::string error;
  ASSERT_TRUE(ReadChainFile(std::string(ORDINEL_DATA) + "/chains/qqq_chain.json", &chain, &error)) << error;
  const std::string answer = LevelsAnswerJson(RunOn(chain));
  const std::vector<double> written = TouchPrices(answer);
  EXPECT_LE(written.size(), payload::kMaxDensityLevels);
  const payload::LevelsSnapshot s = payload::testing::ParseAnswer(answer);
  const struct {
    const char* name;
    const payload::OptionalLevel& level;
  } core[] = {{"call wall", s.callWall},     {"put wall", s.putWall}, {"gamma flip", s.gammaFlip},
              {"vol trigger", s.volTrigger}, {"max pain", s.maxPain}, {"call OI wall", s.callOiWall},
              {"put OI wall", s.putOiWall},  {"zero DEX", s.zeroDex}};
  for (const auto& c : core) {
    ASSERT_TRUE(c.level.has) << c.name;
    bool labelled = false;
    for (uint32_t i = 0; i < s.densityCount; ++i) {
      labelled = labelled || std::fabs(s.densityPrice[i] - c.level.value) < 0.01;
    }
    EXPECT_TRUE(labelled) << c.name << " at " << c.level.value;
  }
}

// Each price once as printed, the first of the levels that print alike standing for them, at
// most 8. The levels come in their order of importance (levels.h).
TEST(AnswerSections, TouchLevelsAreWrittenOncePerPrintedPriceAndAtMostEight) {
  const std::vector<double> levels = {100,      95, 100.0000138, 90,  100.0000032, 105,
                                      95.00004, 98, 101,         102, 103,         104};
  struct Case {
    double ratio;
    std::vector<double> written;
  };
  const Case cases[] = {
      {1, {100, 95, 90, 105, 98, 101, 102, 103}},
      // On a chart at twice the price 95.00004 prints apart from 95, and 100.0000032 does not.
      {2, {200, 190, 180, 210, 190.0001, 196, 202, 204}},
  };
  EngineAnswer a = RunOn(ChainOf({{"2025-02-01", 100, true, 10, 0.2}}, 100, "2025-01-02 10:00"));
  a.levels.touches.clear();
  for (double price : levels) a.levels.touches.push_back({price, 50});
  for (const Case& c : cases) {
    a.ratio = c.ratio;
    EXPECT_EQ(TouchPrices(LevelsAnswerJson(a)), c.written) << "ratio " << c.ratio;
  }
}

EngineSettings NoCarry() {
  EngineSettings s;
  s.rate = 0;
  s.dividend = 0;
  return s;
}

// Dealers long the calls and short the puts: out-of-the-money options of either kind lose delta
// as time passes and gain it as volatility rises, so dealers buy into the close and sell a rise
// of volatility. The charm and vanna flows once took the holders' sign and said the opposite
// for calls.
TEST(AnswerSections, HedgeFlowsAreWhatDealersTradeUnderOneConvention) {
  struct Case {
    const char* name;
    std::vector<Row> rows;
    const char* charm;
    const char* vanna;
    bool dealersSellARise;
  };
  const Case cases[] = {
      {"calls above spot",
       {{"2025-02-01", 110, true, 100, 0.2}, {"2025-02-01", 115, true, 100, 0.2}},
       "buy",
       "sell",
       true},
      {"puts below spot",
       {{"2025-02-01", 90, false, 100, 0.2}, {"2025-02-01", 85, false, 100, 0.2}},
       "buy",
       "sell",
       false},
  };
  for (const Case& c : cases) {
    const EngineAnswer a = RunOn(ChainOf(c.rows, 100, "2025-01-02 10:00"), NoCarry());
    const payload::LevelsSnapshot s = payload::testing::ParseAnswer(LevelsAnswerJson(a));
    EXPECT_EQ(s.charmHedgeDirection, c.charm) << c.name;
    EXPECT_EQ(s.vannaHedgeDirection, c.vanna) << c.name;
    EXPECT_EQ(a.levels.hedgeOnePercentShares < 0, c.dealersSellARise) << c.name;
  }
}

// Above the flip is long gamma. A flip the running sum puts below spot while the total is short
// gamma (heavy puts above spot) once read "pro-cyclical - spot above flip".
TEST(AnswerSections, FlipSideAgreesWithTheRegimeOrIsLeftOut) {
  struct Case {
    const char* name;
    std::vector<Row> rows;
    double spot;
    const char* modelSummaryEnd;
  };
  const Case cases[] = {
      {"long gamma above the flip",
       {{"2025-02-01", 95, false, 100, 0.2},
        {"2025-02-01", 100, true, 100, 0.2},
        {"2025-02-01", 105, true, 200, 0.2}},
       100,
       "(dampening) - spot above flip"},
      {"short gamma below the flip",
       {{"2025-02-01", 95, true, 300, 0.2}, {"2025-02-01", 105, false, 400, 0.2}},
       100,
       "(pro-cyclical) - spot below flip"},
      {"short gamma above the nearest flip",
       {{"2025-02-01", 95, false, 100, 0.2},
        {"2025-02-01", 100, true, 150, 0.2},
        {"2025-02-01", 110, false, 400, 0.2}},
       100.5,
       "(pro-cyclical)"},
  };
  for (const Case& c : cases) {
    const EngineAnswer a = RunOn(ChainOf(c.rows, c.spot, "2025-01-02 10:00"), NoCarry());
    ASSERT_TRUE(a.levels.gammaFlip.has) << c.name;
    const std::string summary = payload::testing::ParseAnswer(LevelsAnswerJson(a)).modelSummary;
    const std::string end = c.modelSummaryEnd;
    EXPECT_TRUE(summary.size() >= end.size() && summary.ends_with(end)) << c.name << ": " << summary;
  }
}

}  // namespace
}  // namespace engine
