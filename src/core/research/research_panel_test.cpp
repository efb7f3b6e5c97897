#include "research/research_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "research/research_response.h"
#include "payload/payload_test_support.h"
#include "text/format.h"

namespace research {
namespace {

using Lines = std::vector<std::string>;

// A view holding the NQ research answer for 2025-01-02 with `members` (JSON members, no
// braces) besides the identity.
ResearchView ViewWithResearch(const std::string& members, double tickSize = 0.25) {
  ResearchView view;
  view.tick_size = tickSize;
  const std::string answer = R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ",)" + members + "}";
  EXPECT_TRUE(AcceptResearchResponse(&view, payload::testing::ResearchOf(answer), "NQ", "QQQ", "2025-01-02"))
      << answer;
  return view;
}

// A history row of 2025-01-02 at 15:MM:00Z of the usual provenance; `overrides` (members)
// come first, so they win over the defaults.
std::string Row(int minute, double ratio, const std::string& levels, const std::string& overrides = "") {
  const std::string time = text::Format("2025-01-02T15:%02d:00Z", minute);
  std::string row = "{";
  if (!overrides.empty()) row += overrides + ",";
  return row + R"("session_date":"2025-01-02","ts":")" + time + R"(","source_snapshot_time":")" + time +
         R"(","source":"QQQ","engine":"e2","conversion_method":"ratio","scope":"all",)" +
         text::Format(R"("selected_expiration":"","conversion_ratio":%.17g,)", ratio) + levels + "}";
}

std::string History(const std::string& rows) {
  return R"("history":{"rows":[)" + rows + R"(],"excluded":3,"limit":50,"note":"Stored captures."})";
}

Lines Changes(const ResearchView& view) {
  return BuildResearchPanelLines(view, true, false, false, 0, 0, "2025-01-02");
}

const Lines kHistoryHead = {kResearchCaptured,
                            "History 2 rows | excluded 3 | limit 50",
                            "Stored captures.",
                            "First observed capture; session open is not established.",
                            "QQQ / e2 / ratio / all / expiry ",
                            "Source time 2025-01-02T15:30:00Z | ratio 41"};

Lines Concat(Lines head, const Lines& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// With every switch off only the structure alert shows; without research only the status and
// the served Greeks do.
TEST(ResearchPanel, SwitchesOffOrNoResearchShowLittle) {
  ResearchView view = ViewWithResearch(History(Row(0, 41, "\"call_wall\":1")));
  view.last_alert = "x";
  EXPECT_EQ(BuildResearchPanelLines(view, false, false, false, 3, 500, "2025-01-02"),
            Lines{"Structure alert: x"});
  ResearchView none;
  none.last_alert = "x";
  EXPECT_EQ(Changes(none), (Lines{"Structure alert: x", kInitialResearchStatus}));
  EXPECT_EQ(BuildResearchPanelLines(none, false, false, true, 0, 500, "2025-01-02"),
            (Lines{"Structure alert: x", kInitialResearchStatus,
                   "Served strike Greeks: missing (no map capture)."}));
}

// Only dated rows of the research day count, in time order whatever the document order.
TEST(ResearchPanel, ChangeSplitsPositioningFromConversion) {
  const std::string first = Row(5, 40, R"("call_wall":4000,"put_wall":3800,"gamma_flip":3900,
                                          "net_gex":-2e9)");
  const std::string latest = Row(30, 41, R"("call_wall":4141,"put_wall":3895.125,
                                           "gamma_flip":null,"net_gex":1.5e9)");
  const std::string otherDay = Row(10, 40, "\"call_wall\":1", R"("session_date":"2025-01-01")");
  const std::string undated = Row(20, 40, "\"call_wall\":1", R"("ts":0)");
  const std::string rows = latest + "," + otherDay + "," + undated + "," + first + ",[1]";
  EXPECT_EQ(Changes(ViewWithResearch(History(rows))),
            Concat(kHistoryHead, {"CW positioning 41 | conversion/basis 100 (chart points)",
                                  "PW positioning 0 | conversion/basis 95 (chart points)",
                                  "GF positioning missing | conversion/basis 97.5 (chart points)",
                                  "Net GEX change 3500000000"}));
}

// Which provenance matches is SameProvenance's rule; here only what the panel makes of it.
TEST(ResearchPanel, ChangeNeedsTwoDistinctSnapshotsOfOneProvenance) {
  const std::string sameSnapshot =
      Row(5, 40, "\"call_wall\":1", R"("source_snapshot_time":"2025-01-02T15:30:00Z")") + "," +
      Row(30, 41, "\"call_wall\":2");
  EXPECT_EQ(Changes(ViewWithResearch(History(sameSnapshot))),
            Concat(kHistoryHead, {"Same source capture: no new positioning observation."}));
  const ResearchView single = ViewWithResearch(History(Row(30, 41, "\"call_wall\":1")));
  Lines head = kHistoryHead;
  head[1] = "History 1 rows | excluded 3 | limit 50";
  EXPECT_EQ(Changes(single),
            Concat(head, {"Change unavailable: two captures with matching provenance required."}));
}

// A book with one expiry, a row at strike 100.
constexpr const char* kBook = R"("expiry_book":{"symbol":"QQQ","expirations":[
    {"expiry":"2025-01-17","rows":[{"strike":100,"gex":1}]}]})";

const Lines kBookHead = {kResearchCaptured, "Expiry book QQQ (UNDERLYING strikes) |  / ",
                         "Coverage  /  expiries | band %", "Scope  | captured ms  | quotes ms "};

TEST(ResearchPanel, PresetsTurnSectionsOn) {
  const ResearchView view = ViewWithResearch(kBook);
  ResearchPanelInputs inputs;
  inputs.researchDay = "2025-01-17";
  inputs.inspectorStrikeText = " 100";
  inputs.workflowPreset = 2;  // Positioning: the changes only
  EXPECT_EQ(ResearchPanelLines(view, inputs), (Lines{kResearchCaptured, "History 0 rows | excluded  | limit ",
                                                     "No dated capture available for this session."}));
  inputs.workflowPreset = 3;  // Research: the lens and the inspector
  Lines research = ResearchPanelLines(view, inputs);
  EXPECT_EQ(research,
            Concat(kBookHead, {"0DTE: 1 / 1 served",
                               "2025-01-17 | gex 1 [1/1] | dex missing [0/1] | vex missing [0/1] | "
                               "charmex missing [0/1]",
                               "2025-01-17 strike 100 | gex 1 | dex missing | vex missing | charmex missing",
                               "Book raw Greeks / IV / OI / volume: missing (model aggregates).",
                               "Served strike Greeks: missing (no map capture)."}));
  inputs.workflowPreset = 0;
  inputs.levelInspector = true;  // the inspector alone: the same lines without the lens sums
  research.erase(research.begin() + 5);
  EXPECT_EQ(ResearchPanelLines(view, inputs), research);
  inputs.researchDay = "2025-1-18";  // no valid day: nothing can follow the book's header
  EXPECT_EQ(ResearchPanelLines(view, inputs), kBookHead);
}

}  // namespace
}  // namespace research
