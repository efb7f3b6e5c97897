// `ordinel engine` on both sample chains: the same answer from either form, bad rows reported,
// bad options and unreadable chains refused, and `ordinel chart --chain` drawing the answer.
#include <gtest/gtest.h>

#include <string>

#include "replay_test_support.h"

namespace {

using replay_test::ProgramRun;
using replay_test::RunOrdinel;

const std::string kJsonChain = std::string(ORDINEL_DATA) + "/chains/qqq_chain.json";
const std::string kCsvChain = std::string(ORDINEL_DATA) + "/chains/qqq_chain.csv";

TEST(EngineCommand, BothSampleFormsGiveTheSameAnswer) {
  const ProgramRun json = RunOrdinel({"engine", kJsonChain});
  const ProgramRun csv = RunOrdinel(
      {"engine", kCsvChain, "--spot", "521.21", "--as-of", "2025-01-02 10:42:10", "--symbol", "QQQ"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(json.out, csv.out);
  EXPECT_NE(json.err.find("ordinel engine: 3 rows skipped"), std::string::npos) << json.err;
  EXPECT_NE(csv.err.find("line 6: implied volatility is missing or not a number"), std::string::npos)
      << csv.err;
}

// Symbols typed in lower case are the same symbols: the QQQ chain maps onto NQ.
TEST(EngineCommand, LowerCaseSymbolsAreUpperCased) {
  const ProgramRun run = RunOrdinel({"engine", kCsvChain, "--spot", "521.21", "--as-of",
                                     "2025-01-02 10:42:10", "--symbol", "qqq", "--future-price", "21500"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(R"("requested_symbol":"NQ","resolved_symbol":"QQQ")"), std::string::npos)
      << run.out.substr(0, 300);
  const ProgramRun named = RunOrdinel({"engine", kJsonChain, "--ratio", "2", "--future-symbol", "mnq"});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_NE(named.out.find(R"("requested_symbol":"MNQ")"), std::string::npos) << named.out.substr(0, 300);
}

// The embedded default chart is an NQ chart: the QQQ chain's levels reach it through the chart's
// last price over the chain's spot, and the panel says so (every mapping: engine/answer_writer_test).
TEST(EngineCommand, ChartDrawsTheChainsLevelsMappedOntoItsFuture) {
  const ProgramRun run =
      RunOrdinel({"chart", "--chain", kJsonChain, "--out", ::testing::TempDir() + "ordinel_chain_chart"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("NQ levels from QQQ strikes x 41.2502 (the chart's last price"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  CW    21862.50"), std::string::npos) << run.out;  // on the chart's tick
}

// Mapped prices land on the futures tick: the future's usual one or --tick-size. The engine
// wrote 21862.59 for an NQ chart that moves in quarters.
TEST(EngineCommand, RegressionMappedPricesLandOnTheFuturesTick) {
  const struct {
    std::vector<std::string> args;
    const char* callWall;
  } cases[] = {
      {{"engine", kJsonChain}, R"("call_wall":530,)"},
      {{"engine", kJsonChain, "--future-price", "21500"}, R"("call_wall":21862.5,)"},
      {{"engine", kJsonChain, "--future-price", "21500", "--tick-size", "1"}, R"("call_wall":21863,)"},
      {{"engine", kJsonChain, "--future-price", "21500", "--future-symbol", "MNQ"},
       R"("call_wall":21862.589,)"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunOrdinel(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(c.callWall), std::string::npos) << c.callWall << "\n" << run.out.substr(0, 1500);
  }
}

// A CSV chain carries neither the underlying's price nor its time: each message says what is
// missing and which option gives it. They said "give one", or used now and then failed with
// "no contract expires after the as-of time" alone. (The sample's contracts expire in 2025, so
// the clock of any run from now on is past them.)
TEST(EngineCommand, RegressionACsvChainNamesTheOptionsItNeeds) {
  const struct {
    std::vector<std::string> args;
    std::vector<const char*> messages;
  } cases[] = {
      {{"engine", kCsvChain},
       {"ordinel engine: the chain carries no spot price: give --spot S, the underlying's price when the "
        "chain was "
        "saved\n"}},
      {{"engine", kCsvChain, "--spot", "512"},
       {"ordinel engine: the chain carries no time and no --as-of was given: using now, ",
        ": no contract expires after the as-of time ",
        " New York time (now; the chain carries no time: give --as-of, the time the chain was saved, e.g. "
        "--as-of "
        "\"2024-12-31 10:00\"); the chain's last expiration is 2025-12-19\n"}},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunOrdinel(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.args[1];
    EXPECT_TRUE(run.out.empty()) << c.args[1];
    for (const char* message : c.messages) EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

TEST(EngineCommand, BadOptionsAndUnusableChainsExitWithStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"engine"}, "no chain given"},
      {{"engine", kJsonChain, "--rate", "abc"}, "--rate needs a number"},
      {{"engine", kJsonChain, "--ratio", "40", "--future-price", "21500"}, "not both"},
      {{"engine", "/nonexistent/chain.csv"}, "cannot open /nonexistent/chain.csv"},
      {{"engine", kJsonChain, "--expiry-mode", "specific", "--expiries", "2025-01-09"},
       "no live contract of the selected expirations"},
      {{"engine", kJsonChain, "--expiry-mode", "specific", "--expiries", "2025-01-03,2025-01-10"},
       "a specific expiry takes exactly one date, not 2"},
      {{"chart", "--chain", kJsonChain, "--origin", "http://127.0.0.1:9"},
       "--chain computes the levels itself"},
      {{"chart", "--chain", kCsvChain, "--out", "/nonexistent/x"},
       "the chain carries no spot price: give --spot"},
      {{"engine", kJsonChain, "--tick-size", "1"},
       "--tick-size rounds mapped prices: give --ratio or --future-price"},
      {{"service", "--chain", "/nonexistent/chain.csv"}, "cannot open /nonexistent/chain.csv"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunOrdinel(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_TRUE(run.out.empty()) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
