#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "payload/payload_test_support.h"
#include "payload/section_readers.h"

namespace payload {
namespace {

using testing::Answer;
using testing::ParseAnswer;

// An answer with spot 5000 (merge tolerance 6) and the given profile entries and extra levels.
LevelsSnapshot WithProfile(const std::string& entries, int top = 10, const std::string& levels = "") {
  return ParseAnswer(Answer("{\"spot\": 5000, " + levels + (levels.empty() ? "" : ", ") +
                            "\"gex_profile\": [" + entries + "]}"),
                     top);
}

TEST(GexProfile, MergesSortsCapsAndRanksRows) {
  const struct {
    const char* entries;
    int top;
    std::vector<ProfileRow> rows;
  } cases[] = {
      // The candidate reaches two kept rows; it joins the earlier-kept (larger) one, on
      // either side of it.
      {R"({"strike": 5000, "gex": 100}, {"strike": 5010, "gex": 90}, {"strike": 5005, "gex": 10})",
       10,
       {{5010, 90, 1, 82, ""}, {5000, 110, 2, 100, ""}}},
      {R"({"strike": 5000, "gex": 90}, {"strike": 5010, "gex": 100}, {"strike": 5005, "gex": 10})",
       10,
       {{5010, 110, 2, 100, ""}, {5000, 90, 1, 82, ""}}},
      // A smaller neighbour within spot x 0.0012 folds into the larger row: just inside merges,
      // just beyond does not.
      {R"({"strike": 5000, "gex": 100}, {"strike": 5005.9, "gex": 50}, {"strike": 4993.9, "gex": 50})",
       10,
       {{5000, 150, 2, 100, ""}, {4993.9, 50, 1, 33, ""}}},
      // Only the N largest survive, then appear highest price first.
      {R"({"strike": 4900, "gex": 10}, {"strike": 4950, "gex": -40}, {"strike": 5000, "gex": 30},
          {"strike": 5050, "gex": 20}, {"strike": 5100, "gex": -50})",
       3,
       {{5100, -50, 1, 100, ""}, {5000, 30, 1, 60, ""}, {4950, -40, 1, 80, ""}}},
      // Key fallbacks, zero and unreadable entries dropped, half-up percentages.
      {R"({"price": 5100, "net_gex": 200}, {"level": 5200, "value": "3"}, {"strike": 5300, "gex": 0},
          {"strike": 5400}, 7, {"strike": "x", "gex": 5})",
       10,
       {{5200, 3, 1, 2, ""}, {5100, 200, 1, 100, ""}}},
      // A count below 1 means 10.
      {R"({"strike": 5000, "gex": 1}, {"strike": 5100, "gex": 2})",
       0,
       {{5100, 2, 1, 100, ""}, {5000, 1, 1, 50, ""}}},
      // Rows cancelling to 0 leave no rows at all.
      {R"({"strike": 5000, "gex": 5}, {"strike": 5001, "gex": -5})", 10, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithProfile(c.entries, c.top).profileRows, c.rows) << c.entries;
  }
}

// An unstable sort keeps short lists in order by chance; 33 equal magnitudes do not.
TEST(GexProfile, EqualMagnitudesKeepDocumentOrderInLongLists) {
  std::string entries;
  for (int i = 0; i < 33; ++i) {
    entries += (i ? ", {\"strike\": " : "{\"strike\": ") + std::to_string(3000 + 50 * i) +
               (i % 2 ? ", \"gex\": -10}" : ", \"gex\": 10}");
  }
  std::vector<double> prices;
  for (const ProfileRow& row : WithProfile(entries, 5).profileRows) prices.push_back(row.price);
  EXPECT_EQ(prices, (std::vector<double>{3200, 3150, 3100, 3050, 3000}));
}

TEST(GexProfile, TagsTheFirstMatchingLevelWithinTolerance) {
  const std::pair<const char*, const char*> cases[] = {
      {R"("call_wall": 5005, "put_wall": 5000, "gamma_flip": 5000, "vol_trigger": 5000)", "CW"},
      {R"("call_wall": 5006.1, "put_wall": 4994.5, "gamma_flip": 5000)", "PW"},
      {R"("gamma_flip": 5005.5, "vol_trigger": 5000)", "Flip"},
      {R"("vol_trigger": "4995")", "VT"},
      {R"("call_wall": 5010, "put_wall": 4990)", ""},
  };
  for (const auto& [levels, tag] : cases) {
    const LevelsSnapshot s = WithProfile(R"({"strike": 5000, "gex": 1})", 10, levels);
    EXPECT_EQ(s.profileRows, (std::vector<ProfileRow>{{5000, 1, 1, 100, tag}})) << levels;
  }
}

// Points are every readable entry, ascending, neither merged nor capped, and need no spot.
TEST(GexProfile, ProfilePointsAreAscendingUnmergedAndUncapped) {
  const std::string entries = R"({"strike": 5002, "gex": 1}, {"strike": 5000, "gex": 2},
      {"strike": 5001, "gex": 0}, {"strike": 5000, "gex": 3}, {"price": 4000, "value": -1})";
  const std::vector<StrikeValue> points = {{4000, -1}, {5000, 2}, {5000, 3}, {5002, 1}};
  const std::pair<const char*, size_t> cases[] = {{"5000", 1}, {"0", 0}, {"null", 0}};
  for (const auto& [spot, rows] : cases) {
    const LevelsSnapshot s =
        ParseAnswer(Answer(std::string("{\"spot\": ") + spot + ", \"gex_profile\": [" + entries + "]}"), 1);
    EXPECT_EQ(s.profilePoints, points) << spot;
    EXPECT_EQ(s.profileRows.size(), rows) << spot;
  }
}

TEST(GexProfile, OverflowingMergedSumsStayFinite) {
  const LevelsSnapshot s = WithProfile(R"({"strike": 5000, "gex": 1.5e308}, {"strike": 5001, "gex": 1.5e308},
                     {"strike": 5100, "gex": 1e307})");
  ASSERT_EQ(s.profileRows.size(), 2u);
  EXPECT_TRUE(std::isfinite(s.profileRows[1].gex));
  EXPECT_EQ(s.profileRows[1].percent, 100);
  EXPECT_EQ(s.profileRows[0].percent, 6);
}

}  // namespace
}  // namespace payload
