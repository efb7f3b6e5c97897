#include "engine/futures_mapping.h"

#include <gtest/gtest.h>

#include <string>

#include "text/format.h"

namespace engine {
namespace {

// Mapped prices land on the futures chart's tick and print as its decimals: 0.1 x 3 is 0.3, not
// 0.30000000000000004, and a tick the table does not know (a --tick-size) rounds alike.
TEST(FuturesMapping, PricesRoundToTheTickAndPrintAsItsDecimals) {
  struct Case {
    double price;
    double tick;
    const char* rounded;
  };
  const Case cases[] = {
      {21862.59, 0.25, "21862.5"},
      {21862.63, 0.25, "21862.75"},
      {21862.625, 0.25, "21862.75"},
      {2043.27, 0.1, "2043.3"},
      {0.3, 0.1, "0.3"},
      {30.1234, 0.005, "30.125"},
      {43001.5, 1, "43002"},
      {10.1, 0.3, "10.2"},
      {112.5, 5, "115"},
      {21862.59, 0, "21862.59"},
      {21862.59, -0.25, "21862.59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::RoundTripDouble(RoundToTick(c.price, c.tick)), c.rounded) << c.price << " on " << c.tick;
  }
}

TEST(FuturesMapping, TheUsualTickOfEachFutureTheEngineMapsTo) {
  struct Case {
    const char* future;
    double tick;
  };
  const Case cases[] = {
      {"NQ", 0.25},  {"ES", 0.25},    {"YM", 1},         {"RTY", 0.1},    {"GC", 0.1},
      {"SI", 0.005}, {"NQZ25", 0.25}, {"ESH2026", 0.25}, {"SIZ5", 0.005}, {"MNQ", 0},
      {"NQX", 0},    {"NQA25", 0},    {"25", 0},         {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FutureTickOf(c.future), c.tick) << c.future;
  // Each underlying the engine maps has a future of known tick.
  for (const char* underlying : {"QQQ", "NDX", "SPY", "SPX", "GLD", "SLV", "IWM", "RUT", "DIA"}) {
    EXPECT_GT(FutureTickOf(FutureSymbolOf(underlying)), 0) << underlying;
  }
}

}  // namespace
}  // namespace engine
