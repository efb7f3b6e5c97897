#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chain_csv.h"
#include "engine/chain_json.h"
#include "engine/chain_reader.h"

namespace engine {
namespace {

TEST(CsvChain, FindsColumnsByNameAndCountsBadRows) {
  const char* csv =
      "Volume,Open Interest,Strike,Expiration,Note,Type,\"IV (%)\"\n"
      "10,100,520,2025-01-17,ok,C,14.5\n"
      "\n"
      ",250,515.5,2025-01-17,\"quoted, comma\",put,16\n"
      "5,-1,520,2025-01-17,,P,15\n"       // line 5: negative open interest
      "5,10,520,2025-01-17,,X,15\n"       // line 6: unknown type
      "5,10,abc,2025-01-17,,C,15\n"       // line 7: strike not a number
      "5,10,520,2025-02-30,,C,15\n"       // line 8: impossible date
      "5,10,520,2025-01-17,,C,\n"         // line 9: volatility missing
      "5,10,520,2025-01-17,,C,nan\n"      // line 10: not finite
      "5,10,520,2025-01-17,,C,0\r\n"      // line 11: volatility 0
      "5,10,525,2025-01-17,\"\",C,15\r";  // a lone CR ends a line too
  OptionChain chain;
  std::string error;
  ASSERT_TRUE(ReadCsvChain(csv, &chain, &error)) << error;
  ASSERT_EQ(chain.contracts.size(), 3u);
  const OptionContract& first = chain.contracts[0];
  EXPECT_EQ(first.expiration, "2025-01-17");
  EXPECT_EQ(first.kind, OptionKind::kCall);
  EXPECT_DOUBLE_EQ(first.strike, 520);
  EXPECT_DOUBLE_EQ(first.openInterest, 100);
  EXPECT_DOUBLE_EQ(first.impliedVol, 0.145) << "percent column";
  EXPECT_DOUBLE_EQ(first.volume, 10);
  EXPECT_EQ(chain.contracts[1].kind, OptionKind::kPut);
  EXPECT_DOUBLE_EQ(chain.contracts[1].volume, 0) << "empty optional column";
  EXPECT_EQ(chain.issues.count, 7u);
  ASSERT_EQ(chain.issues.firstFew.size(), RowIssues::kNamed);
  EXPECT_EQ(chain.issues.firstFew[0], "line 5: negative open interest");
  EXPECT_EQ(chain.issues.firstFew[1], "line 6: type is neither call nor put");
  EXPECT_EQ(chain.issues.firstFew[2], "line 7: strike is missing or not a number");
  EXPECT_EQ(chain.issues.firstFew[3], "line 8: expiration is not a YYYY-MM-DD date");
  EXPECT_EQ(chain.issues.firstFew[4], "line 9: implied volatility is missing or not a number");
}

TEST(CsvChain, VolatilityIsDecimalUnlessMarkedPercent) {
  struct Case {
    const char* header;
    const char* value;
    double sigma;
  };
  const Case cases[] = {
      {"iv", "0.145", 0.145},
      {"iv", "14.5%", 0.145},
      {"iv_pct", "14.5", 0.145},
      {"implied volatility percent", "14.5", 0.145},
      {"Implied_Volatility", "0.2", 0.2},
  };
  for (const Case& c : cases) {
    const std::string csv =
        std::string("expiration,strike,type,oi,") + c.header + "\n2025-01-17,520,C,1," + c.value + "\n";
    OptionChain chain;
    std::string error;
    ASSERT_TRUE(ReadCsvChain(csv, &chain, &error)) << c.header << ": " << error;
    ASSERT_EQ(chain.contracts.size(), 1u) << c.header;
    EXPECT_DOUBLE_EQ(chain.contracts[0].impliedVol, c.sigma) << c.header << " " << c.value;
  }
}

TEST(ExchangeJsonChain, ReadsSpotTimeAndContractsAndCountsBadEntries) {
  const char* json = R"({"timestamp": "2025-01-17 10:15:00", "data": {"current_price": 5950.5,
    "options": [
      {"option": "SPXW250117C05900000", "iv": 0.14, "open_interest": 1234, "volume": 50,
       "gamma": 99, "delta": 99},
      {"option": "SPX250117P05800000", "iv": "0.2", "open_interest": 10},
      {"option": "SPXW250117Q05900000", "iv": 0.14, "open_interest": 1},
      {"option": "SPXW250117C05900000", "iv": null, "open_interest": 1},
      {"option": "SPXW250117C05900000", "iv": 0.14, "open_interest": -3},
      {"option": "SPXW250117C05900000", "iv": 0.14},
      42,
      {"option": "SPXW250117C06000000", "iv": 0.13, "open_interest": 7}]}})";
  OptionChain chain;
  std::string error;
  ASSERT_TRUE(ReadExchangeJsonChain(json, &chain, &error)) << error;
  EXPECT_TRUE(chain.hasSpot);
  EXPECT_DOUBLE_EQ(chain.spot, 5950.5);
  EXPECT_EQ(chain.asOfText, "2025-01-17 10:15:00");
  EXPECT_EQ(chain.underlying, "SPX") << "SPXW and SPX both trade on SPX";
  ASSERT_EQ(chain.contracts.size(), 3u);
  EXPECT_DOUBLE_EQ(chain.contracts[0].openInterest, 1234);
  EXPECT_DOUBLE_EQ(chain.contracts[0].volume, 50);
  EXPECT_DOUBLE_EQ(chain.contracts[1].impliedVol, 0.2) << "numeric text";
  EXPECT_EQ(chain.contracts[1].kind, OptionKind::kPut);
  EXPECT_EQ(chain.issues.count, 5u);
  ASSERT_EQ(chain.issues.firstFew.size(), 5u);
  EXPECT_EQ(chain.issues.firstFew[0], "option 3 (SPXW250117Q05900000): unreadable option symbol");
  EXPECT_EQ(chain.issues.firstFew[1],
            "option 4 (SPXW250117C05900000): implied volatility is missing or not a number");
  EXPECT_EQ(chain.issues.firstFew[2], "option 5 (SPXW250117C05900000): negative open interest");
  EXPECT_EQ(chain.issues.firstFew[3],
            "option 6 (SPXW250117C05900000): open interest is missing or not a number");
  EXPECT_EQ(chain.issues.firstFew[4], "option 7: not an object");
}

// A volume that is given must be usable: a negative or unreadable one once passed as none.
TEST(ChainReading, AGivenVolumeIsANumberNotBelowZero) {
  struct Case {
    std::string text;
    double volume;        // of the one contract, when kept
    const char* skipped;  // the issue, when not
  };
  const std::string csv = "expiration,strike,type,oi,iv,volume\n2025-01-17,520,C,10,0.2,";
  const std::string json = R"({"data": {"options": [{"option": "QQQ250117C00520000", "iv": 0.2, )"
                           R"("open_interest": 10)";
  const Case cases[] = {
      {csv + "7\n", 7, nullptr},
      {csv + " \n", 0, nullptr},
      {csv + "\n", 0, nullptr},
      {csv + "-3\n", 0, "line 2: negative volume"},
      {csv + "n/a\n", 0, "line 2: volume is not a number"},
      {csv + "inf\n", 0, "line 2: volume is not a number"},
      {json + R"(, "volume": "7"}]}})", 7, nullptr},
      {json + R"(, "volume": null}]}})", 0, nullptr},
      {json + "}]}}", 0, nullptr},
      {json + R"(, "volume": -3}]}})", 0, "option 1 (QQQ250117C00520000): negative volume"},
      {json + R"(, "volume": "many"}]}})", 0, "option 1 (QQQ250117C00520000): volume is not a number"},
  };
  for (const Case& c : cases) {
    OptionChain chain;
    std::string error;
    ASSERT_TRUE(ReadChainText(c.text, &chain, &error)) << c.text << ": " << error;
    if (c.skipped == nullptr) {
      ASSERT_EQ(chain.contracts.size(), 1u) << c.text;
      EXPECT_EQ(chain.contracts[0].volume, c.volume) << c.text;
    } else {
      EXPECT_TRUE(chain.contracts.empty()) << c.text;
      EXPECT_EQ(chain.issues.firstFew, std::vector<std::string>{c.skipped}) << c.text;
    }
  }
}

// The JSON parser stops after the first document; a chain must end there.
TEST(ExchangeJsonChain, TextAfterTheDocumentIsRefused) {
  const std::string chain = R"({"data": {"note": "a } and a \" in text", "options": [)"
                            R"({"option": "qqq250117c00520000", "iv": 0.2, "open_interest": 1}]}})";
  struct Case {
    std::string text;
    const char* error;  // nullptr: read
  };
  const Case cases[] = {
      {chain, nullptr},
      {"\xEF\xBB\xBF\n" + chain + " \r\n\t\n", nullptr},
      {chain + chain, "JSON chain: more text after the end of the JSON document (line 1)"},
      {chain + "\n\n  x", "JSON chain: more text after the end of the JSON document (line 3)"},
      {chain + "}", "JSON chain: more text after the end of the JSON document (line 1)"},
  };
  for (const Case& c : cases) {
    OptionChain read;
    std::string error;
    EXPECT_EQ(ReadChainText(c.text, &read, &error), c.error == nullptr) << c.text;
    if (c.error == nullptr) {
      EXPECT_EQ(read.underlying, "QQQ") << "roots are upper-cased: " << c.text;
      EXPECT_EQ(read.contracts.size(), 1u) << c.text;
    } else {
      EXPECT_EQ(error, c.error) << c.text;
    }
  }
}

TEST(ChainReading, TextsWithoutTheirNeededPartsAreErrors) {
  using Reader = bool (*)(std::string_view, OptionChain*, std::string*);
  const struct {
    Reader read;
    const char* text;
    const char* error;
  } cases[] = {
      {ReadCsvChain, "expiration,strike,type,iv\n2025-01-17,520,C,0.2\n",
       "CSV chain: no open interest column in the header row"},
      {ReadCsvChain, "strike,type,oi,iv\n", "CSV chain: no expiration column in the header row"},
      {ReadCsvChain, "\n\n", "CSV chain: no header row"},
      {ReadCsvChain, "expiration,strike,type,oi,iv\n2025-01-17,520,C,1,0.2\n2025-01-17,\"520,C,1,0.2\n",
       "CSV chain: line 3: a quoted field is never closed"},
      {ReadExchangeJsonChain, "{\"data\": {\"options\": 3}}", "JSON chain: no \"data\".\"options\" array"},
      {ReadExchangeJsonChain, "[1, 2]", "JSON chain: not a JSON object"},
      {ReadExchangeJsonChain, "{\"data\": {}", "JSON chain: not a JSON object"},
  };
  for (const auto& c : cases) {
    OptionChain chain;
    std::string error;
    EXPECT_FALSE(c.read(c.text, &chain, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(ChainReader, RegressionFormatIsRecognisedByContentAndOnlyRegularFilesAreRead) {
  OptionChain chain;
  std::string error;
  EXPECT_TRUE(ReadChainText(" \n{\"data\": {\"options\": []}}", &chain, &error)) << error;
  EXPECT_TRUE(ReadChainText("expiration,strike,type,oi,iv\n", &chain, &error)) << error;
  EXPECT_FALSE(ReadChainFile("/nonexistent/chain.csv", &chain, &error));
  EXPECT_NE(error.find("cannot open /nonexistent/chain.csv"), std::string::npos) << error;
  // /dev/zero once grew the chain until the allocation failed; a device is refused unread now.
  EXPECT_FALSE(ReadChainFile("/dev/zero", &chain, &error));
  EXPECT_EQ(error, "cannot open /dev/zero: not a regular file (a device)");
}

}  // namespace
}  // namespace engine
