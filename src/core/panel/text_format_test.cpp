#include "panel/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/fake_study_host.h"

namespace panel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FormatMoney, ScalesSignsAndRoundsAfterTheThreshold) {
  const struct {
    OptionalMoney money;
    const char* expected;
  } cases[] = {
      {{true, 1234567890}, "+$1.2B"}, {{true, -2500000}, "-$2.5M"}, {{true, 0}, "+$0"},
      {{true, -0.4}, "-$0"},          {{true, 999.6}, "+$1000"},    {{true, 999950}, "+$1000.0k"},
      {{true, 1000}, "+$1.0k"},       {{true, 12.5}, "+$12"},       {{false, 5}, "n/a"},
      {{true, kInf}, "n/a"},          {{true, -kInf}, "n/a"},       {{true, std::nan("")}, "n/a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMoney(c.money), c.expected) << c.money.value;
}

TEST(FormatExposureSuffix, TakesTheFirstPairAtThePrice) {
  const std::vector<payload::StrikeValue> pairs = {
      {21500, -350000000}, {21500, 7},    {21600, 2400000000}, {21700, -950000},
      {21800, 2500000000}, {21900, -1e9}, {22000, 0}};
  const struct {
    double price;
    const char* name;
    const char* expected;
  } cases[] = {
      {21500, "GEX", " GEX -350.00M"},
      {21600, "GEX", " GEX 2.4B"},
      {21700, "DEX", " DEX -0.95M"},
      {21800, "GEX", " GEX 2.5B"},
      {21900, "DEX", " DEX -1.0B"},
      {22000, "GEX", " GEX 0.00M"},
      {21500.01, "GEX", ""},
      {21500.0000005, "GEX", " GEX -350.00M"},
      {21400, "GEX", ""},
      {std::nan(""), "GEX", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatExposureSuffix(pairs, c.price, c.name), c.expected) << c.price;
  EXPECT_EQ(FormatExposureSuffix({}, 21500, "GEX"), "");
}

class SilentPriceHost : public host::FakeStudyHost {
 public:
  std::string FormatPrice(double) const override { return ""; }
};

TEST(FormatPriceText, UsesTheHostFormatAndNeverReturnsEmpty) {
  host::FakeStudyHost formatting;
  SilentPriceHost silent;
  EXPECT_EQ(FormatPriceText(formatting, 21500.25), "21500.25");
  EXPECT_EQ(FormatPriceText(silent, 21500.256), "21500.26");
  EXPECT_FALSE(FormatPriceText(silent, std::nan("")).empty());
  EXPECT_EQ(FormatPriceText(formatting, 1e308), "1e+308") << "never 309 digits";
}

TEST(FormatContracts, ScalesTheAbsoluteCount) {
  const struct {
    double count;
    const char* expected;
  } cases[] = {
      {1500, "1.5k contracts"},  {2000000, "2.0M contracts"}, {999, "999 contracts"},
      {-1500, "1.5k contracts"}, {999.5, "1000 contracts"},   {999999, "1000.0k contracts"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatContracts(c.count), c.expected) << c.count;
}

}  // namespace
}  // namespace panel
