// `ordinel engine` on both sample chains: the same answer from either form, bad rows reported,
// bad options and unreadable chains refused, and the answer read back by `ordinel inspect`.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "json/json_document.h"
#include "replay_test_support.h"

namespace {

using replay_test::ProgramRun;
using replay_test::RunOrdinel;

const std::string kJsonChain = std::string(ORDINEL_DATA) + "/chains/qqq_chain.json";
const std::string kCsvChain = std::string(ORDINEL_DATA) + "/chains/qqq_chain.csv";

ProgramRun EngineOnCsv() {
  return RunOrdinel({"engine", kCsvChain, "--spot", "521.21", "--as-of", "2025-01-02 10:42:10",
                     "--symbol", "QQQ"});
}

// Standard output of a shell pipeline of `ordinel` commands.
std::string Pipeline(const std::string& command) {
  std::string out;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  pclose(pipe);
  return out;
}

TEST(EngineCommand, BothSampleFormsGiveTheSameAnswer) {
  const ProgramRun json = RunOrdinel({"engine", kJsonChain});
  const ProgramRun csv = EngineOnCsv();
  ASSERT_EQ(json.exitCode, 0) << json.err;
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(json.out, csv.out);
  EXPECT_NE(json.err.find("ordinel engine: 3 rows skipped"), std::string::npos) << json.err;
  EXPECT_NE(csv.err.find("line 6: implied volatility is missing or not a number"),
            std::string::npos)
      << csv.err;
}

TEST(EngineCommand, InspectReadsTheMappedAnswer) {
  const std::string program = ORDINEL_PROGRAM;
  const std::string out = Pipeline("'" + program + "' engine '" + kJsonChain +
                                   "' --future-price 21500 2>/dev/null | '" + program +
                                   "' inspect -");
  json::Document document;
  ASSERT_EQ(document.Parse(out), json::ParseResult::kParsed) << out;
  EXPECT_TRUE(json::MemberIsTrue(document.Root(), "ok")) << out;
  const json::Node snapshot = json::Member(document.Root(), "snapshot");
  ASSERT_TRUE(snapshot.IsObject()) << out;
  EXPECT_EQ(json::MemberAsText(snapshot, "requestedSymbol"), "NQ") << out;
  double spot = 0, callWall = 0;
  ASSERT_TRUE(json::MemberNumber(snapshot, "spot", &spot)) << out;
  EXPECT_DOUBLE_EQ(spot, 21500) << "the futures price is the mapped spot";
  EXPECT_TRUE(json::MemberNumber(snapshot, "callWall", &callWall)) << out;
  EXPECT_GT(callWall, spot) << out;
}

// The embedded default chart is an NQ chart: the QQQ chain's levels reach it through the chart's
// last price over the chain's spot, or through the ratio given, and the panel says which.
TEST(EngineCommand, ChartDrawsTheChainsLevelsMappedOntoItsFuture) {
  const std::string out = ::testing::TempDir() + "ordinel_chain_chart";
  const struct {
    std::vector<std::string> extra;
    const char* note;
    const char* callWallRow;
  } cases[] = {
      {{}, "NQ levels from QQQ strikes x 41.2502 (the chart's last price", "  CW    21862.59"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"chart", "--chain", kJsonChain, "--out", out};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ProgramRun run = RunOrdinel(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Levels loaded via QQQ."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.note), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.callWallRow), std::string::npos) << run.out;
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
      {{"engine", kCsvChain}, "the chain carries no spot price"},
      {{"engine", kJsonChain, "--expiry-mode", "specific", "--expiries", "2025-01-09"},
       "no live contract of the selected expirations"},
      {{"chart", "--chain", kJsonChain, "--origin", "http://127.0.0.1:9"},
       "--chain computes the levels itself"},
      {{"chart", "--chain", kCsvChain, "--out", "/nonexistent/x"}, "the chain carries no spot price"},
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
