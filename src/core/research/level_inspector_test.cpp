#include "research/level_inspector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "research/research_response.h"
#include "payload/payload_test_support.h"

namespace research {
namespace {

// A view whose live map carries `strikeGreeks` (JSON object text, or empty for none) with
// conversion ratio 40 at the root and tick size 0.25.
ResearchView ViewWithMap(const std::string& strikeGreeks, const std::string& rootRatio = "40") {
  std::string answer =
      R"({"ok":true,"resolved_symbol":"SPY","engine":"ordinel-gex-2","conversion_method":"ratio",
          "scope":"all_expirations","source_snapshot_time":"2025-01-02T15:42:10Z",
          "selected_expiration":"","conversion_ratio":)" +
      rootRatio + R"(,"display_levels":{"conversion_ratio":0)";
  if (!strikeGreeks.empty()) answer += ",\"strike_greeks\":" + strikeGreeks;
  answer += "}}";
  ResearchView view;
  RecordLiveCapture(&view, payload::testing::LiveMapOf(answer), "ES", false, 300, 0.25, 1.7e12);
  return view;
}

std::vector<std::string> Lines(const ResearchView& view, double strike) {
  std::vector<std::string> lines;
  ServedStrikeGreeksLines(view, &lines, strike);
  return lines;
}

constexpr const char* kMapLine = "Served map SPY / ordinel-gex-2 / ratio / all_expirations";
constexpr const char* kSourceLine = "Source time 2025-01-02T15:42:10Z | expiry  | ratio 40";
constexpr const char* kMatched =
    "Served columnar strike Greeks: gamma 2 | delta 20 | vanna 200 | "
    "vega 2000 | charm 20000 | oi 200000 | vol 2000000 | ";

TEST(LevelInspector, NeedsALiveMapWithARatio) {
  EXPECT_EQ(Lines(ResearchView{}, 500),
            std::vector<std::string>{"Served strike Greeks: missing (no map capture)."});
  for (const char* ratio : {"0", "null", "-40"}) {
    EXPECT_EQ(Lines(ViewWithMap("", ratio), 500),
              std::vector<std::string>{"Served strike Greeks: mapping ratio missing."})
        << ratio;
  }
}

TEST(LevelInspector, MatchesWithinHalfAChartTick) {
  const struct {
    const char* strikes;
    double inspector;
    const char* last;
  } cases[] = {
      {"[19000, 20000.1, 21000]", 500, kMatched},
      {"[19000, 20000.2, 21000]", 500, "Served strike Greeks: no matching strike; fields missing."},
      {"[19000, 20000.1, 19999.9]", 500, "Served strike Greeks: ambiguous rounded strikes; fields missing."},
      {"[19000, 20000, 21000]", 0, "Served strike Greeks: no matching strike; fields missing."},
      {"[\"19000\", {\"strike\": 20000}, null]", 500, kMatched},
  };
  for (const auto& c : cases) {
    const ResearchView view =
        ViewWithMap(std::string(R"({"strikes":)") + c.strikes +
                    R"(,"gamma":[1,2,3],"delta":[10,20,30],"vanna":[100,200,300],"vega":[1000,2000,3000],
            "charm":[1e4,2e4,3e4],"oi":[1e5,2e5,3e5],"vol":[1e6,2e6,3e6]})");
    EXPECT_EQ(Lines(view, c.inspector), (std::vector<std::string>{kMapLine, kSourceLine, c.last}))
        << c.strikes << " at " << c.inspector;
  }
}

TEST(LevelInspector, AShortOrNullColumnIsMissingForThatFieldOnly) {
  const ResearchView view = ViewWithMap(
      R"({"strikes":[19960, 20000],"gamma":[1],"delta":[10,null],"vanna":[100,"7.5"],
          "vega":[1,2],"charm":[1,2],"oi":[1,2],"vol":"none"})");
  EXPECT_EQ(Lines(view, 500).back(),
            "Served columnar strike Greeks: gamma missing | delta missing | vanna 7.5 | vega 2 | "
            "charm 2 | oi 2 | vol missing | ");
}

}  // namespace
}  // namespace research
