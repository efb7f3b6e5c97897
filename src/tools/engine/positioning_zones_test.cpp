#include "engine/positioning_zones.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

// Rows from (strike, call GEX, put GEX, call OI, put OI); net GEX is their sum.
std::vector<StrikeRow> Rows(std::initializer_list<std::array<double, 5>> values) {
  std::vector<StrikeRow> rows;
  for (const auto& v : values) {
    StrikeRow r;
    r.strike = v[0];
    r.callGex = v[1];
    r.putGex = v[2];
    r.netGex = v[1] + v[2];
    r.callOi = v[3];
    r.putOi = v[4];
    rows.push_back(r);
  }
  return rows;
}

const std::vector<StrikeRow> kBook = Rows({
    {90, 0, -50, 0, 900},      //
    {95, 5, -100, 10, 500},    // the put wall
    {98, 20, -70, 50, 300},    //
    {100, 60, -30, 400, 200},  // spot 100.5 sits just above
    {102, 90, -10, 600, 50},   //
    {105, 200, -5, 900, 10},   // the call wall
    {106, 120, 0, 300, 0},     // at least half of the wall: part of the cluster
    {110, 30, 0, 100, 0},      //
});

TEST(PositioningZones, ClustersSpanTheWallsNeighboursWithHalfItsExposure) {
  const Band up = UpsideCluster(kBook, 100.5);
  EXPECT_TRUE(up.has);
  EXPECT_EQ(up.low, 102) << "105 widened by one strike below";
  EXPECT_EQ(up.high, 110) << "105 and 106, widened by one strike above";
  const Band down = DownsideCluster(kBook, 100.5);
  // Put sizes 50, 100, 70, 30: 90 and 98 reach half of the wall's 100, 100 is the widening.
  EXPECT_EQ(down.low, 90);
  EXPECT_EQ(down.high, 100);
  EXPECT_EQ(DownsideCluster(kBook, 80).has, false) << "no strike at or below spot";
}

TEST(PositioningZones, FocusPointsFollowTheirWindowsAndFallBacks) {
  struct Case {
    const char* name;
    double spot, move;
    double magnet, support, resistance;
  };
  const Case cases[] = {
      // Net: 90 -50, 95 -95, 98 -50, 100 30, 102 80, 105 195, 106 120, 110 30.
      {"wide window", 100.5, 6, 105, 100, 106},
      {"narrow window: magnet 102, support falls back to put OI", 100.5, 1.5, 102, 100, 105},
      // Magnet within 3 of 99: 102 (80). Below 99 nothing is positive: 90 holds the most put
      // OI. Above: 100 (30) and 105 (195) within 6, the magnet excluded.
      {"nothing positive below: heaviest put OI", 99, 3, 102, 90, 105},
  };
  for (const Case& c : cases) {
    const std::array<FocusPoint, 3> f = FocusPoints(kBook, c.spot, c.move);
    EXPECT_EQ(f[0].level.value, c.magnet) << c.name;
    EXPECT_EQ(f[1].level.value, c.support) << c.name;
    EXPECT_EQ(f[2].level.value, c.resistance) << c.name;
  }
  EXPECT_EQ(FocusPoints(kBook, 100.5, 6)[2].shortLabel, "RES");
  EXPECT_EQ(FocusPoints(kBook, 100.5, 6)[0].confidence, "high") << "the largest |net| itself";
  EXPECT_EQ(FocusPoints(kBook, 100.5, 6)[1].confidence, "low") << "30 of 195";
}

TEST(PositioningZones, PressureZoneAndPinningScore) {
  // Within one move (4) of 100.5 the largest |net| is 80 at 102 (105 is 4.5 away); the nearest
  // strikes with at least 20 are 100 (30) below and 102 above.
  const Band zone = PressureZone(kBook, 100.5, 4);
  ASSERT_TRUE(zone.has);
  EXPECT_EQ(zone.low, 100);
  EXPECT_EQ(zone.high, 102);
  // With 105 (195) in reach 48.75 is needed: 100 (30) drops out, 98 (50) stays.
  const Band wide = PressureZone(kBook, 100.5, 5);
  EXPECT_EQ(wide.low, 98);
  EXPECT_EQ(wide.high, 102);
  EXPECT_FALSE(PressureZone(kBook, 80, 4).has) << "no strike within reach";
  // Positive net within 4 of 100.5: 100 (30) and 102 (80); all |net|: 650.
  EXPECT_NEAR(PinningScore(kBook, 100.5, 4), 100.0 * 110 / 650, 1e-12);
}

}  // namespace
}  // namespace engine
