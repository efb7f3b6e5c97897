// The sample answers under data/answers parse as their README says.
#include <gtest/gtest.h>

#include <algorithm>

#include "payload/payload_test_support.h"

namespace payload {
namespace {

using testing::Json;
using testing::ReadAnswerFile;

LevelsSnapshot ParseSample(const char* name) {
  LevelsSnapshot snapshot;
  std::string status;
  EXPECT_TRUE(ParseLevelsResponse(Json(ReadAnswerFile(name)), 10, &snapshot, &status))
      << name << ": " << status;
  return snapshot;
}

// Checks shared by every successful sample: an NQ map from QQQ strikes whose walls are the
// strongest profile strikes and whose flip lies between them, below spot.
void ExpectConsistentCore(const char* name, const LevelsSnapshot& s) {
  EXPECT_TRUE(s.valid) << name;
  EXPECT_EQ(s.requestedSymbol, "NQ") << name;
  EXPECT_EQ(s.resolvedSymbol, "QQQ") << name;
  EXPECT_EQ(s.conversionNote,
            "NQ levels from QQQ strikes x 41.25 (market data quotes, futures premium included).")
      << name;
  EXPECT_EQ(s.callWall, (OptionalLevel{true, 21862.5})) << name;
  EXPECT_EQ(s.putWall, (OptionalLevel{true, 21243.75})) << name;
  ASSERT_TRUE(s.gammaFlip.has && s.volTrigger.has && s.spot.has) << name;
  EXPECT_LT(s.putWall.value, s.volTrigger.value) << name;
  EXPECT_LT(s.volTrigger.value, s.gammaFlip.value) << name;
  EXPECT_LT(s.gammaFlip.value, s.spot.value) << name;
  EXPECT_LT(s.spot.value, s.callWall.value) << name;
  ASSERT_EQ(s.profileRows.size(), 10u) << name;
  const auto strongest = std::max_element(
      s.profileRows.begin(), s.profileRows.end(),
      [](const ProfileRow& a, const ProfileRow& b) { return a.gex < b.gex; });
  EXPECT_EQ(strongest->price, s.callWall.value) << name;
  EXPECT_EQ(strongest->tag, "CW") << name;
  EXPECT_EQ(strongest->percent, 100) << name;
  const auto weakest = std::min_element(
      s.profileRows.begin(), s.profileRows.end(),
      [](const ProfileRow& a, const ProfileRow& b) { return a.gex < b.gex; });
  EXPECT_EQ(weakest->price, s.putWall.value) << name;
  EXPECT_EQ(weakest->tag, "PW") << name;
  EXPECT_EQ(s.focusSummary, "Full - Focus: Balanced (3)") << name;
  EXPECT_EQ(s.modelSummary, "pin 63/100 - hedge -15k sh/1% (dampening) - spot above flip")
      << name;
  EXPECT_TRUE(s.netGex.has && s.netGex.value > 0) << name;
  EXPECT_TRUE(s.netDex.has) << name;
  EXPECT_TRUE(s.battleZone.valid && s.upsideCluster.valid && s.downsideCluster.valid) << name;
  EXPECT_TRUE(s.focus[0].valid && s.focus[1].valid && s.focus[2].valid) << name;
  EXPECT_FALSE(s.gammaExposures.empty()) << name;
}

TEST(SampleAnswers, LegacyIsATypicalMapWithoutExtendedSections) {
  const LevelsSnapshot s = ParseSample("legacy.json");
  ExpectConsistentCore("legacy.json", s);
  EXPECT_FALSE(s.locked);
  EXPECT_EQ(s.spot.value, 21500);
  EXPECT_EQ(s.densityCount, 0u);
  EXPECT_TRUE(s.gexCells.empty() && s.deltaCells.empty() && s.vegaCells.empty());
  EXPECT_FALSE(s.vwap.has);
  EXPECT_FALSE(s.openingRange.valid);
}

// Every section being present is checked section by section in optional_sections_test.cpp;
// here only the facts the demo and the README rely on.
TEST(SampleAnswers, ExtendedCarriesEverySection) {
  const LevelsSnapshot s = ParseSample("extended.json");
  ExpectConsistentCore("extended.json", s);
  EXPECT_LT(s.zeroGammaBand.lower, s.zeroGammaModel.value);
  EXPECT_GT(s.zeroGammaBand.upper, s.zeroGammaModel.value);
  EXPECT_EQ(s.densityCount, 8u);  // ten are sent
  EXPECT_EQ(s.densityPrice[0], s.callWall.value);
  EXPECT_LT(s.densityBand.p16, s.spot.value);
  EXPECT_GT(s.densityBand.p84, s.spot.value);
  EXPECT_EQ(s.openingRange, (ZoneBand{true, 21452.25, 21518.75, ""}));  // or30 over or15
  for (int k = 0; k < kVwapBandCount; ++k) {
    EXPECT_GT(s.vwapBandPlus[k].value, s.vwap.value) << k;
    EXPECT_LT(s.vwapBandMinus[k].value, s.vwap.value) << k;
  }
  ASSERT_EQ(s.callExtenderCount, 3u);
  ASSERT_EQ(s.putExtenderCount, 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_GT(s.callExtenderStrike[i], s.callWall.value) << i;
    EXPECT_LT(s.putExtenderStrike[i], s.putWall.value) << i;
  }
  const std::pair<size_t, size_t> sizes[] = {
      {s.gexCells.size(), 40},   {s.charmCells.size(), 60},      {s.deltaCells.size(), 301},
      {s.vannaCells.size(), 301}, {s.vegaCells.size(), 301},     {s.gammaExposures.size(), 301},
      {s.deltaExposures.size(), 301}};
  for (size_t i = 0; i < std::size(sizes); ++i) EXPECT_EQ(sizes[i].first, sizes[i].second) << i;
}

TEST(SampleAnswers, LockedIsHeldUntilTheNextOpen) {
  const LevelsSnapshot s = ParseSample("locked.json");
  ExpectConsistentCore("locked.json", s);
  EXPECT_TRUE(s.locked);
  EXPECT_EQ(s.lockedRefreshAfterUnix, 1735914600);
  EXPECT_EQ(s.lockedSession, "2025-01-02");
  EXPECT_EQ(s.sourceSnapshotTime, "2025-01-02T14:30:05Z");
}

TEST(SampleAnswers, FailureEnvelopesGiveOneMessageEach) {
  const std::pair<const char*, const char*> cases[] = {
      {"failure_not_object.json", "Levels response was not a JSON object."},
      {"failure_missing_levels.json", "Worker response OK but display_levels is missing."},
      {"failure_error_and_message.json",
       "Levels unavailable (rate_limited): Too many requests for this key - try again in 60 "
       "seconds."},
      {"failure_message_only.json",
       "Levels unavailable: The market data options feed is reconnecting; levels resume shortly."},
      {"failure_error_only.json", "Levels unavailable (error: symbol_not_supported)."},
      {"failure_no_ok.json", "Levels unavailable: worker responded without ok/connected."},
  };
  for (const auto& [name, message] : cases) {
    LevelsSnapshot snapshot;
    std::string status;
    EXPECT_FALSE(ParseLevelsResponse(Json(ReadAnswerFile(name)), 10, &snapshot, &status)) << name;
    EXPECT_EQ(status, message) << name;
  }
}

TEST(SampleAnswers, HtmlErrorPageIsNotJson) {
  json::Value value;
  EXPECT_FALSE(json::ParseJson(ReadAnswerFile("not_json.html"), &value));
}

}  // namespace
}  // namespace payload
