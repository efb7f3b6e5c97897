// The sample research answer under data/answers, read beside the sample levels answer of the
// same NQ session as the panel would show it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "research/research_panel.h"
#include "research/research_response.h"
#include "research/research_test_support.h"

namespace research {
namespace {

TEST(SampleResearch, NqSessionBesideTheExtendedMap) {
  ResearchView view;
  RecordLiveCapture(&view, testing::LiveMapOf(testing::ReadAnswerFile("extended.json")), "NQ", true,
                    300, 0.25, 1735832600000);
  ASSERT_TRUE(AcceptResearchResponse(
      &view, testing::ResearchOf(testing::ReadAnswerFile("research_NQ.json")), "NQ", "QQQ",
      "2025-01-02"));
  ResearchPanelInputs inputs;
  inputs.captureChanges = true;
  inputs.expiryLens = true;
  inputs.levelInspector = true;
  inputs.lensIndex = 1;  // Week through Friday: Thursday and Friday
  inputs.inspectorStrikeText = "530";
  inputs.researchDay = "2025-01-02";
  const std::vector<std::string> expected = {
      "Research captured on demand; change request to refresh.",
      "History 4 rows | excluded 1 | limit 48",
      "Stored captures, oldest first; rows without a source snapshot time are excluded.",
      "First observed capture; session open is not established.",
      "QQQ / ordinel-gex-2 / ratio / all_expirations / expiry ",
      "Source time 2025-01-02T15:42:10Z | ratio 41.25",
      "CW positioning 0 | conversion/basis 26.5 (chart points)",
      "PW positioning 0 | conversion/basis 25.75 (chart points)",
      "GF positioning 27.375 | conversion/basis 25.975 (chart points)",
      "Net GEX change 1533320096",
      "Expiry book QQQ (UNDERLYING strikes) | delayed_oi / model_aggregates",
      "Coverage 6 / 14 expiries | band 4%",
      "Scope front_book | captured ms 1735832530000 | quotes ms 1735832400000",
      "Per-strike model aggregates from captured delayed OI; no raw chain is stored.",
      "Week through Friday: 2 / 6 served",
      "2025-01-02 | gex 575201570 [9/9] | dex -3178493 [9/9] | vex 74824156 [9/9] | "
      "charmex -52052400 [9/9]",
      "2025-01-02 strike 530 | gex 419310828 | dex 577230144 | vex 8612558 | charmex -14692204",
      "Book raw Greeks / IV / OI / volume: missing (model aggregates).",
      "2025-01-03 | gex 314991338 [9/9] | dex 184559397 [9/9] | vex 40975131 [9/9] | "
      "charmex -28504885 [9/9]",
      "2025-01-03 strike 530 | gex 229622596 | dex 336802222 | vex 4716401 | charmex -8045731",
      "Book raw Greeks / IV / OI / volume: missing (model aggregates).",
      "Served map QQQ / ordinel-gex-2 / ratio / all_expirations",
      "Source time 2025-01-02T15:42:10Z | expiry  | ratio 41.25",
      "Served columnar strike Greeks: gamma 1184689403 | delta -1717806195 | vanna 91371533 | "
      "vega 51626230 | charm -37187728 | oi 3333 | vol 6761 | ",
  };
  EXPECT_EQ(ResearchPanelLines(view, inputs), expected);

}

}  // namespace
}  // namespace research
