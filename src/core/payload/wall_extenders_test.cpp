#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

using testing::Answer;
using testing::ParseAnswer;

std::vector<double> Strikes(const std::array<double, kMaxExtendersPerSide>& strikes, uint32_t count) {
  return std::vector<double>(strikes.begin(), strikes.begin() + count);
}

TEST(WallExtenders, PicksTheHeaviestStrikesBeyondEachWall) {
  const struct {
    const char* block;
    std::vector<double> put, call;
  } cases[] = {
      // Put side below the put wall, call side above the call wall, descending |gex|; the wall
      // strikes themselves do not count.
      {R"({"spot": 5000, "put_wall": 4900, "call_wall": 5100, "gex_profile": [
           {"strike": 4700, "gex": -30}, {"strike": 4800, "gex": -80}, {"strike": 4850, "gex": 50},
           {"strike": 4750, "gex": -60}, {"strike": 4900, "gex": -100}, {"strike": 5000, "gex": 5},
           {"strike": 5100, "gex": 100}, {"strike": 5150, "gex": 20}, {"strike": 5200, "gex": 40}]})",
       {4800, 4750, 4850},
       {5200, 5150}},
      // Equal magnitudes: the earlier entry stays ahead.
      {R"({"spot": 5000, "put_wall": 4900, "gex_profile": [
           {"strike": 4700, "gex": 10}, {"strike": 4800, "gex": -10}, {"strike": 4600, "gex": 10},
           {"strike": 4500, "gex": 10}, {"strike": 4950, "gex": 100}]})",
       {4700, 4800, 4600},
       {}},
      // The threshold is 1 % of the largest |gex| on the wall's side of spot: 4950's 10000 makes
      // the put side need 100, while the call side only needs 1 % of 5050's 100.
      {R"({"spot": 5000, "put_wall": 4900, "call_wall": 5100, "gex_profile": [
           {"strike": 4950, "gex": 10000}, {"strike": 4800, "gex": 99}, {"strike": 4700, "gex": 100},
           {"strike": 5050, "gex": 100}, {"strike": 5200, "gex": 1}, {"strike": 5300, "gex": 0.99}]})",
       {4700},
       {5200}},
      // Without a spot the reference is the largest |gex| of all entries.
      {R"({"put_wall": 4900, "call_wall": 5100, "gex_profile": [
           {"strike": 5000, "gex": 10000}, {"strike": 4800, "gex": 99}, {"strike": 4700, "gex": 100},
           {"strike": 5200, "gex": 1000}]})",
       {4700},
       {5200}},
      // Only "strike" and "gex" count; other keys and non-objects are skipped.
      {R"({"spot": 5000, "put_wall": 4900, "gex_profile": [
           {"price": 4800, "gex": 50}, {"strike": 4700, "net_gex": 50}, 3,
           {"strike": "4600", "gex": "40"}, {"strike": 4950, "gex": 50}]})",
       {4600},
       {}},
      // Fewer than three entries, or no wall at all: nothing.
      {R"({"spot": 5000, "put_wall": 4900, "gex_profile": [
           {"strike": 4800, "gex": 50}, {"strike": 4950, "gex": 50}]})",
       {},
       {}},
      {R"({"spot": 5000, "gex_profile": [
           {"strike": 4800, "gex": 50}, {"strike": 4950, "gex": 50}, {"strike": 5200, "gex": 5}]})",
       {},
       {}},
      // No strike below spot: the put side's reference is 0 and it stays empty.
      {R"({"spot": 4000, "put_wall": 4900, "call_wall": 5100, "gex_profile": [
           {"strike": 4800, "gex": 50}, {"strike": 4950, "gex": 50}, {"strike": 5200, "gex": 5}]})",
       {},
       {5200}},
  };
  for (const auto& c : cases) {
    const LevelsSnapshot s = ParseAnswer(Answer(c.block));
    EXPECT_EQ(Strikes(s.putExtenderStrike, s.putExtenderCount), c.put) << c.block;
    EXPECT_EQ(Strikes(s.callExtenderStrike, s.callExtenderCount), c.call) << c.block;
    for (uint32_t i = s.putExtenderCount; i < kMaxExtendersPerSide; ++i) {
      EXPECT_EQ(s.putExtenderStrike[i], 0) << c.block;
    }
  }
}

}  // namespace
}  // namespace payload
