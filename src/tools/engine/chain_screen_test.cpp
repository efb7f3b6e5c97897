// The checks of a complete contract list (engine/chain_screen.h), through both readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chain_reader.h"
#include "engine/engine.h"
#include "platform/posix/posix_services.h"

namespace engine {
namespace {

constexpr const char* kCsvHeader = "expiration,strike,type,oi,iv\n";

std::string JsonChain(const std::vector<std::string>& entries) {
  std::string text = R"({"timestamp": "2025-01-02 10:42:10", "data": {"current_price": 520, "options": [)";
  for (size_t i = 0; i < entries.size(); ++i) text += (i ? ", " : "") + entries[i];
  return text + "]}}";
}

std::string Entry(const char* symbol, const char* iv, const char* oi = "10") {
  return std::string(R"({"option": ")") + symbol + R"(", "iv": )" + iv + R"(, "open_interest": )" + oi + "}";
}

struct Screened {
  size_t kept = 0;
  std::vector<std::string> named;
  size_t skipped = 0;
  std::string hint;
};

Screened Read(const std::string& text) {
  OptionChain chain;
  std::string error;
  EXPECT_TRUE(ReadChainText(text, &chain, &error)) << error;
  return {chain.contracts.size(), chain.issues.firstFew, chain.issues.count, chain.issues.hint};
}

// One contract repeated used to be summed: four copies gave four times its exposure.
TEST(ChainScreen, RepeatedContractsKeepTheFirstAndNameItInTheRest) {
  struct Case {
    const char* name;
    std::string text;
    size_t kept;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"csv, four times among others",
       std::string(kCsvHeader) + "2025-01-17,520,C,10,0.2\n2025-01-17,520,P,10,0.2\n" +
           "2025-01-17,520,C,99,0.3\n2025-01-17,520.0,call,10,0.2\n2025-01-24,520,C,10,0.2\n" +
           "2025-01-17,520,c,10,0.2\n",
       3,
       {"line 4: duplicate of line 2", "line 5: duplicate of line 2", "line 7: duplicate of line 2"}},
      {"csv, a bad first row leaves the second to be the first",
       std::string(kCsvHeader) + "2025-01-17,520,C,-1,0.2\n2025-01-17,520,C,10,0.2\n",
       1,
       {"line 2: negative open interest"}},
      {"json, the same symbol twice, in either case",
       JsonChain({Entry("QQQ250117C00520000", "0.2"), Entry("QQQ250117P00520000", "0.2"),
                  Entry("qqq250117c00520000", "0.3")}),
       2,
       {"option 3 (qqq250117c00520000): duplicate of option 1 (QQQ250117C00520000)"}},
      {"json, SPX and SPXW of one date are two contracts",
       JsonChain({Entry("SPX250117C05900000", "0.2"), Entry("SPXW250117C05900000", "0.2")}),
       2,
       {}},
  };
  for (const Case& c : cases) {
    const Screened s = Read(c.text);
    EXPECT_EQ(s.kept, c.kept) << c.name;
    EXPECT_EQ(s.named, c.named) << c.name;
    EXPECT_EQ(s.skipped, c.named.size()) << c.name;
  }
}

TEST(ChainScreen, VolatilitiesAbove500PercentAreSkippedAndPercentColumnsNamed) {
  const std::string csvHint =
      "the implied volatility column \"iv\" seems to hold percents (15 for 15 %): name it \"iv %\" "
      "or \"iv_pct\", or end each value with '%'";
  struct Case {
    const char* name;
    std::string text;
    size_t kept;
    std::vector<std::string> named;
    bool hint;
  };
  const Case cases[] = {
      {"one outlier among decimals",
       std::string(kCsvHeader) + "2025-01-17,520,C,10,0.2\n2025-01-17,525,C,10,7.5\n" +
           "2025-01-17,530,C,10,5\n",
       2,
       {"line 3: implied volatility 7.5 is above 5 (500 %)"},
       false},
      {"a column of percents",
       std::string(kCsvHeader) + "2025-01-17,520,C,10,15\n2025-01-17,525,C,10,4.5\n" +
           "2025-01-17,530,C,10,16.25\n",
       0,
       {"line 2: implied volatility 15 is above 5 (500 %)",
        "line 3: implied volatility 4.5 in a column of percents",
        "line 4: implied volatility 16.25 is above 5 (500 %)"},
       true},
      {"a column that says percent already gets no advice",
       "expiration,strike,type,oi,iv %\n2025-01-17,520,C,10,1500\n",
       0,
       {"line 2: implied volatility 15 is above 5 (500 %)"},
       false},
      {"half the rows is not most",
       std::string(kCsvHeader) + "2025-01-17,520,C,10,0.2\n2025-01-17,525,C,10,20\n",
       1,
       {"line 3: implied volatility 20 is above 5 (500 %)"},
       false},
      {"json",
       JsonChain({Entry("QQQ250117C00520000", "15"), Entry("QQQ250117C00525000", "14")}),
       0,
       {"option 1 (QQQ250117C00520000): implied volatility 15 is above 5 (500 %)",
        "option 2 (QQQ250117C00525000): implied volatility 14 is above 5 (500 %)"},
       true},
  };
  for (const Case& c : cases) {
    const Screened s = Read(c.text);
    EXPECT_EQ(s.kept, c.kept) << c.name;
    EXPECT_EQ(s.named, c.named) << c.name;
    EXPECT_EQ(s.hint.empty(), !c.hint) << c.name << ": " << s.hint;
  }
  // The chain left without a contract says why in the one message a caller shows.
  OptionChain chain;
  std::string error;
  ASSERT_TRUE(ReadChainText(cases[1].text, &chain, &error)) << error;
  EXPECT_EQ(chain.issues.hint, csvHint);
  EngineSettings settings;
  settings.hasSpot = true;
  settings.spot = 520;
  settings.asOf = "2025-01-02 10:42:10";
  EngineAnswer answer;
  EXPECT_FALSE(RunEngine(chain, settings, platform::DefaultServices(), &answer, &error));
  EXPECT_EQ(error, "no usable contract in the chain (3 rows skipped): " + csvHint);
}

}  // namespace
}  // namespace engine
