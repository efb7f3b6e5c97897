// The sample answers under data/answers parse as their README says.
#include <gtest/gtest.h>

#include <algorithm>

#include "payload/payload_test_support.h"
#include "text/format.h"

namespace payload {
namespace {

using testing::Json;
using testing::ReadAnswerFile;

// What the README promises for every successful sample, as one line: an NQ map from QQQ
// strikes whose walls are the strongest profile strikes and whose flip lies between them, below
// spot.
std::string CoreFacts(const LevelsSnapshot& s) {
  const auto [weakest, strongest] = std::minmax_element(
      s.profileRows.begin(), s.profileRows.end(),
      [](const ProfileRow& a, const ProfileRow& b) { return a.gex < b.gex; });
  const bool ordered = s.putWall.value < s.volTrigger.value &&
                       s.volTrigger.value < s.gammaFlip.value &&
                       s.gammaFlip.value < s.spot.value && s.spot.value < s.callWall.value;
  return text::Format(
      "%s from %s | %s | CW %.2f PW %.2f ordered %d | %zu rows, max %.2f %s %d%%, min %.2f %s | "
      "%s | %s | net GEX %d DEX %d zones %d focus %d exposures %d",
      s.requestedSymbol, s.resolvedSymbol, s.conversionNote, s.callWall.value, s.putWall.value,
      ordered, s.profileRows.size(), strongest->price, strongest->tag, strongest->percent,
      weakest->price, weakest->tag, s.focusSummary, s.modelSummary,
      s.netGex.has && s.netGex.value > 0, s.netDex.has,
      s.battleZone.valid && s.upsideCluster.valid && s.downsideCluster.valid,
      s.focus[0].valid && s.focus[1].valid && s.focus[2].valid, !s.gammaExposures.empty());
}

// The sections that tell the samples apart.
std::string SectionFacts(const LevelsSnapshot& s) {
  return text::Format(
      "locked %d until %.0f session '%s' | spot %g | density %u | cells %zu %zu %zu %zu %zu | "
      "exposures %zu %zu | OR %d %.2f-%.2f | vwap %d | extenders %u %u",
      s.locked, s.lockedRefreshAfterUnix, s.lockedSession, s.spot.value, s.densityCount,
      s.gexCells.size(), s.charmCells.size(), s.deltaCells.size(), s.vannaCells.size(),
      s.vegaCells.size(), s.gammaExposures.size(), s.deltaExposures.size(), s.openingRange.valid,
      s.openingRange.low, s.openingRange.high, s.vwap.has, s.putExtenderCount,
      s.callExtenderCount);
}

TEST(SampleAnswers, SuccessfulSamplesShareOneConsistentNqMap) {
  const std::string core =
      "NQ from QQQ | NQ levels from QQQ strikes x 41.25 (market data quotes, futures premium "
      "included). | CW 21862.50 PW 21243.75 ordered 1 | 10 rows, max 21862.50 CW 100%, min 21243.75 "
      "PW | Full - Focus: Balanced (3) | pin 63/100 - hedge -15k sh/1% (dampening) - spot above "
      "flip | net GEX 1 DEX 1 zones 1 focus 1 exposures 1";
  const std::pair<const char*, const char*> cases[] = {
      {"legacy.json",
       "locked 0 until 0 session '' | spot 21500 | density 0 | cells 0 0 0 0 0 | exposures 49 49 | "
       "OR 0 0.00-0.00 | vwap 0 | extenders 3 3"},
      // The density list is cut at 8 of 10 levels and the opening range is or30, not or15.
      {"extended.json",
       "locked 0 until 0 session '' | spot 21500 | density 8 | cells 40 60 301 301 301 | "
       "exposures 301 301 | OR 1 21452.25-21518.75 | vwap 1 | extenders 3 3"},
      {"locked.json",
       "locked 1 until 1735914600 session '2025-01-02' | spot 21474.5 | density 0 | "
       "cells 0 0 0 0 0 | exposures 49 49 | OR 0 0.00-0.00 | vwap 0 | extenders 3 3"},
  };
  for (const auto& [name, sections] : cases) {
    LevelsSnapshot s;
    std::string status;
    ASSERT_TRUE(ParseLevelsResponse(Json(ReadAnswerFile(name)), 10, &s, &status)) << name;
    EXPECT_EQ(CoreFacts(s), core) << name;
    EXPECT_EQ(SectionFacts(s), sections) << name;
  }
}

}  // namespace
}  // namespace payload
