#include "study/symbol_resolution.h"

#include <gtest/gtest.h>

#include <string>

namespace study {
namespace {

using SymbolCase = std::pair<const char*, const char*>;  // chart symbol, expected

TEST(SymbolResolution, ResolvesChartSymbolsOfEveryFeedForm) {
  const SymbolCase cases[] = {
      // Index futures: prefixes, dated contracts, suffixes, micro and e-mini roots.
      {"F.US.EPZ25", "ES"},
      {"ESZ25.CME", "ES"},
      {"MESM6", "ES"},
      {"ES", "ES"},
      {"F.US.MNQH26", "NQ"},
      {"NQZ25-CME", "NQ"},
      {"ENQU25", "NQ"},
      {"NQ", "NQ"},
      {"NQZ25.CME", "NQ"},
      {"CME.NQZ25", "NQ"},
      {"FUT.ESH6", "ES"},
      {"nqz5", "NQ"},
      {"ESTX50", "ES"},
      {"MNQ", "NQ"},
      // Metals: the root alone or with exactly one month letter.
      {"MGCJ26", "GC"},
      {"GCZ5", "GC"},
      {"GC", "GC"},
      {"MGC", "GC"},
      {"SILH26", "SI"},
      {"SI", "SI"},
      {"SIL", "SI"},
      {"SIF", "SI"},
      {"GCF", "GC"},
      {"F.US.GCQ25", "GC"},
      {"GCZZ", ""},
      {"GCA", ""},
      {"MGCZZ", ""},
      {"SILVER", ""},
      {"GCZX5", ""},
      // Direct symbols, any case.
      {"gld", "GLD"},
      {"Spy", "SPY"},
      {"ndx", "NDX"},
      {"QQQ", "QQQ"},
      {"SPX", "SPX"},
      {"slv", "SLV"},
      {"SPY.ARCA", "SPY"},
      // Not recognised.
      {"SPXW", ""},
      {"$SPX", ""},
      {"XYZ", ""},
      {"", ""},
      {"E", ""},
      {"N", ""},
      {"NQ.CME", ""},
      {"US.F", ""},
      {"...", ""},
      {"1NQ", ""},
      {"SPY1", "SPY"},
  };
  for (const auto& [chart, expected] : cases) EXPECT_EQ(ResolveApiSymbol(chart), expected) << chart;
}

TEST(SymbolResolution, NormalizesToLeadingLettersOfFirstMeaningfulSegment) {
  const SymbolCase cases[] = {
      {"F.US.EPZ25", "EPZ"}, {"nqz25.cme", "NQZ"}, {"NQ.CME", "CME"}, {"CME.FUT.GC", "GC"}, {"AB.CD", "CD"},
      {"ABC.DEF", "ABC"},    {"ES-2025", "ES"},    {"ES Z5", "ES"},   {"$SPX", ""},         {"", ""},
      {"es\xe9z", "ES"},     {"a.b.", ""},
  };
  for (const auto& [chart, expected] : cases) {
    EXPECT_EQ(NormalizeChartSymbol(chart), expected) << chart;
  }
}

// A requested symbol (choices 1-10) wins over the chart's; 0 and anything outside means auto.
TEST(SymbolResolution, RequestedSymbolOverridesChart) {
  const struct {
    int index;
    const char *chartSymbol, *expected;
  } cases[] = {
      {1, "ESZ5", "NQ"}, {2, "NQZ25.CME", "ES"}, {10, "ESZ5", "NDX"}, {0, "NQZ25.CME", "NQ"},
      {0, "XYZ", ""},    {11, "ESZ5", "ES"},     {-1, "GCZ5", "GC"},  {1000, "spy", "SPY"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApiSymbolFromRequest(c.index, c.chartSymbol), c.expected)
        << "index " << c.index << " chart " << c.chartSymbol;
  }
}

TEST(SymbolResolution, ResearchSourceFollowsUnderlyingOptions) {
  const struct {
    const char *apiSymbol, *esSource, *expected;
  } cases[] = {
      {"NQ", "SPX", "QQQ"}, {"ES", "SPX", "SPX"},  {"ES", "SPY", "SPY"}, {"GC", "SPX", "GLD"},
      {"SI", "SPY", "SLV"}, {"SPX", "SPY", "SPX"}, {"", "SPY", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResearchSourceForSymbol(c.apiSymbol, c.esSource), c.expected)
        << "symbol " << c.apiSymbol << " ES source " << c.esSource;
  }
}

}  // namespace
}  // namespace study
