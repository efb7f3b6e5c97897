#include "engine/option_symbol.h"

#include <gtest/gtest.h>

#include <utility>

namespace engine {
namespace {

TEST(OptionSymbol, ReadsTheStandardSymbolAndRefusesOtherShapes) {
  struct Case {
    const char* text;
    const char* root;  // nullptr: refused
    const char* expiration;
    bool call;
    double strike;
  };
  const Case cases[] = {
      {"SPXW250117C05900000", "SPXW", "2025-01-17", true, 5900},
      {"QQQ250102P00521500", "QQQ", "2025-01-02", false, 521.5},
      {"SPX   251219C06000000", "SPX", "2025-12-19", true, 6000},
      {" AAPL250620p00000500 ", "AAPL", "2025-06-20", false, 0.5},
      {"BRK.B250321C00450000", "BRK.B", "2025-03-21", true, 450},
      {"qqq250117c00520000", "QQQ", "2025-01-17", true, 520},  // roots are compared upper-cased
      {"", nullptr, "", false, 0},
      {"250117C05900000", nullptr, "", false, 0},      // no root
      {"SPXW250117X05900000", nullptr, "", false, 0},  // neither C nor P
      {"SPXW250230C05900000", nullptr, "", false, 0},  // 30 February
      {"SPXW250117C0590000", nullptr, "", false, 0},   // seven strike digits: the root swallows a date digit
      {"SPXW25011 C05900000", nullptr, "", false, 0},  // blank inside the date
      {"SPXW250117C00000000", nullptr, "", false, 0},  // zero strike
      {"SP-X250117C05900000", nullptr, "", false, 0},  // root with a dash
      {"SPXW250117C0590000O", nullptr, "", false, 0},  // letter in the strike
  };
  for (const Case& c : cases) {
    OptionSymbol s;
    const bool read = ParseOptionSymbol(c.text, &s);
    EXPECT_EQ(read, c.root != nullptr) << c.text;
    if (!read || c.root == nullptr) continue;
    EXPECT_EQ(s.root, c.root) << c.text;
    EXPECT_EQ(s.expiration, c.expiration) << c.text;
    EXPECT_EQ(s.kind == OptionKind::kCall, c.call) << c.text;
    EXPECT_DOUBLE_EQ(s.strike, c.strike) << c.text;
  }
}

TEST(OptionSymbol, CanonicalSymbolsAreUpperCaseWithoutBlanks) {
  for (const auto& [given, canonical] :
       {std::pair{"qqq", "QQQ"}, std::pair{" Nq\t", "NQ"}, std::pair{"brk.b", "BRK.B"}, std::pair{"ES", "ES"},
        std::pair{"\xC3\xA9s", "\xC3\xA9S"}}) {
    EXPECT_EQ(CanonicalSymbol(given), canonical) << given;
  }
}

TEST(OptionSymbol, WeeklyRootsMapToTheirIndex) {
  EXPECT_EQ(UnderlyingOfRoot("SPXW"), "SPX");
  EXPECT_EQ(UnderlyingOfRoot("NDXP"), "NDX");
  EXPECT_EQ(UnderlyingOfRoot("QQQ"), "QQQ");
}

}  // namespace
}  // namespace engine
