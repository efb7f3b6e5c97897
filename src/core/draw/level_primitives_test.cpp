#include "draw/level_primitives.h"

#include <gtest/gtest.h>

#include "draw/draw_test_support.h"

namespace draw {
namespace {

// A snapshot with only a call wall at `price` and one exposure pair per kind at 5100.
payload::LevelsSnapshot WallWithExposures(double price) {
  payload::LevelsSnapshot s;
  s.valid = true;
  s.callWall = {true, price};
  s.gammaExposures = {{5000, 1}, {5100, 2500000000}};
  s.deltaExposures = {{5100, -950000}};
  return s;
}

// The exposure suffixes of the chosen mode, then the touch probability of a density level within
// one cent; with labels off no text at all.
TEST_F(DrawTest, LabelsCarryTheChosenSuffixes) {
  const struct {
    int mode;
    double price, densityPrice;
    bool touch, labels;
    const char* expected;
  } cases[] = {
      {1, 5100, 4000, true, true, "CW - Call Wall GEX 2.5B"},
      {2, 5100, 4000, true, true, "CW - Call Wall DEX -0.95M"},
      {3, 5100, 4000, true, true, "CW - Call Wall GEX 2.5B DEX -0.95M"},
      {0, 5100, 5100.005, true, true, "CW - Call Wall  P(touch) 42%"},
      {0, 5100, 5100.02, true, true, "CW - Call Wall"},
      {0, 5100, 5100, false, true, "CW - Call Wall"},
      {3, 5100, 5100, true, false, ""},
  };
  for (const auto& c : cases) {
    payload::LevelsSnapshot s = WallWithExposures(c.price);
    s.densityCount = 2;
    s.densityPrice = {4000, c.densityPrice};
    s.densityTouchPct = {10, 42.4};
    settings.exposureMode = c.mode;
    settings.forecastTouch = c.touch;
    settings.labelLines = c.labels;
    Pass(s);
    EXPECT_EQ(sc.drawings[71000].text, c.expected)
        << "mode " << c.mode << " at " << c.price << " density " << c.densityPrice;
  }
}

TEST_F(DrawTest, BandsSpanTheVisibleBarsAndAtLeastOneBar) {
  const struct {
    host::BarRange visible;
    const char* expected;
  } cases[] = {
      {{-3, 0}, "7 rect 0-1 2..1 sg5 t40"},
      {{50, 20}, "7 rect 50-51 2..1 sg5 t40"},
  };
  for (const auto& c : cases) {
    sc.visible = c.visible;
    std::vector<int> drawn;
    PassContext pass{.sc = sc, .settings = settings, .drawnLines = drawn};
    DrawBand(pass, 7, 1, 2, settings.colours[5], 40);
    EXPECT_EQ(Describe(sc.drawings[7]), c.expected) << c.visible.first << ".." << c.visible.last;
    EXPECT_EQ(drawn, std::vector<int>{7});
  }
}

}  // namespace
}  // namespace draw
