#include "context/fear_chart_readers.h"

#include <gtest/gtest.h>

#include <string>

#include "json/json_test_support.h"

namespace context {
namespace {

using Parsed = json::testing::ParsedJson;

std::string QuoteChart(const std::string& closes) {
  return R"({"chart":{"result":[{"indicators":{"quote":[{"close":)" + closes + "}]}}]}}";
}

TEST(VixFromChart, ReadsAPositiveMarketPriceOnly) {
  const struct {
    const char* body;
    bool ok;
    double level;
  } cases[] = {
      {R"({"chart":{"result":[{"meta":{"regularMarketPrice":17.2}}]}})", true, 17.2},
      {R"({"chart":{"result":[{"meta":{"regularMarketPrice":0}}]}})", false, 0},
      {R"({"chart":{"result":[{"meta":{}}]}})", false, 0},
      {R"({"chart":{"result":[]}})", false, 0},
      {R"({"chart":{"result":{"meta":{"regularMarketPrice":17}}}})", false, 0},
      {R"([1,2])", false, 0},
  };
  for (const auto& c : cases) {
    double level = -1;
    EXPECT_EQ(VixFromChart(Parsed(c.body), &level), c.ok) << c.body;
    EXPECT_EQ(level, c.ok ? c.level : -1) << c.body;
  }
}

// The sample standard deviation of the last five log returns of 100 101 102 101 103 104,
// annualised with the square root of 252; unusable closes are skipped, not counted as returns.
TEST(RealizedVolFromChart, SkipsUnusableClosesAndUsesTheLastFiveReturns) {
  for (const char* closes :
       {"[100, null, 101, 102, 101, 103, 104]", "[90, 95, \"99\", 100, 101, 0, 102, -1, 101, 103, 104]"}) {
    double vol = 0;
    ASSERT_TRUE(RealizedVolFromChart(Parsed(QuoteChart(closes)), &vol)) << closes;
    EXPECT_NEAR(vol, 0.17085137366416958, 1e-15) << closes;
  }
}

TEST(RealizedVolFromChart, RefusesTooFewClosesAndWrongShapes) {
  const std::string bodies[] = {
      QuoteChart("[100, 101, 102, 101, 103]"),           // five closes: four returns only
      QuoteChart("[100, \"101\", 102, 101, 103, 104]"),  // numeric text does not count
      QuoteChart("{}"), R"({"chart":{"result":[{"indicators":{"quote":[]}}]}})",
      R"({"chart":{"result":[7]}})"};
  for (const std::string& body : bodies) {
    double vol = -1;
    EXPECT_FALSE(RealizedVolFromChart(Parsed(body), &vol)) << body;
    EXPECT_EQ(vol, -1) << body;
  }
}

}  // namespace
}  // namespace context
