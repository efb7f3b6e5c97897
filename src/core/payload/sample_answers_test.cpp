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
  const auto [weakest, strongest] =
      std::minmax_element(s.profileRows.begin(), s.profileRows.end(),
                          [](const ProfileRow& a, const ProfileRow& b) { return a.gex < b.gex; });
  const bool ordered = s.putWall.value < s.volTrigger.value && s.volTrigger.value < s.gammaFlip.value &&
                       s.gammaFlip.value < s.spot.value && s.spot.value < s.callWall.value;
  return text::Format(
      "%s from %s | %s | CW %.2f PW %.2f ordered %d | %zu rows, max %.2f %s %d%%, min %.2f %s | "
      "%s | %s | net GEX %d DEX %d zones %d focus %d exposures %d",
      s.requestedSymbol, s.resolvedSymbol, s.conversionNote, s.callWall.value, s.putWall.value, ordered,
      s.profileRows.size(), strongest->price, strongest->tag, strongest->percent, weakest->price,
      weakest->tag, s.focusSummary, s.modelSummary, s.netGex.has && s.netGex.value > 0, s.netDex.has,
      s.battleZone.valid && s.upsideCluster.valid && s.downsideCluster.valid,
      s.focus[0].valid && s.focus[1].valid && s.focus[2].valid, !s.gammaExposures.empty());
}

TEST(SampleAnswers, SuccessfulSamplesShareOneConsistentNqMap) {
  const std::string core =
      "NQ from QQQ | NQ levels from QQQ strikes x 41.25 (market data quotes, futures premium "
      "included). | CW 21862.50 PW 21243.75 ordered 1 | 10 rows, max 21862.50 CW 100%, min 21243.75 "
      "PW | Full - Focus: Balanced (3) | pin 63/100 - hedge -15k sh/1% (dampening) - spot above "
      "flip | net GEX 1 DEX 1 zones 1 focus 1 exposures 1";
  // Their sections' rules are pinned one by one beside this test and by the damage test, which
  // needs every section present in extended.json.
  for (const char* name : {"legacy.json", "extended.json", "locked.json"}) {
    LevelsSnapshot s;
    std::string status;
    ASSERT_TRUE(ParseLevelsResponse(Json(ReadAnswerFile(name)), 10, &s, &status)) << name;
    EXPECT_EQ(CoreFacts(s), core) << name;
  }
}

}  // namespace
}  // namespace payload
