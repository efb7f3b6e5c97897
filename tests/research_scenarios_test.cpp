// Research mode seen from outside: runs the research_*.json scenarios through `ordinel replay`
// and checks when research GETs go out, which research lines the panel shows on its Context tab,
// and which structural alerts the platform receives. Expected lines are worked out by hand from
// data/answers/research_NQ.json and data/answers/extended.json.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "json/json_value.h"
#include "replay_test_support.h"

namespace {

using replay_test::At;
using replay_test::DumpOf;
using replay_test::ReportOf;

constexpr int kFirstPanelLine = 71400;
constexpr int kLastPanelLine = 71483;

const char kResearchPath[] = "/market-context/indicator-research?symbol=NQ&source=SPY&day=";
const char kInitialStatus[] = "Change positive Research request to fetch once (GET, current session).";
const char kInProgress[] = "Research request in progress.";
const char kUnavailablePrefix[] = "Research unavailable";

// The levels service origin: the default of the first input ("API base URL").
std::string LevelsOrigin(const std::string& scenario) {
  return At(At(ReportOf(scenario), {"study", "inputs"}).elements.at(0), {"default"}).text;
}

// The texts of the panel's text drawings, in line-number order.
std::vector<std::string> PanelTexts(const json::Value& dump) {
  std::vector<std::string> texts;
  for (const json::Value& d : At(dump, {"drawings"}).elements) {
    const double line = At(d, {"line"}).number;
    if (At(d, {"kind"}).text == "text" && line >= kFirstPanelLine && line <= kLastPanelLine) {
      texts.push_back(At(d, {"text"}).text);
    }
  }
  return texts;
}

// Index of the panel text equal to `text`; -1 when absent.
int IndexOf(const std::vector<std::string>& texts, const std::string& text) {
  const auto it = std::find(texts.begin(), texts.end(), text);
  return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
}

int CountStartingWith(const std::vector<std::string>& texts, const std::string& prefix) {
  return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const std::string& t) {
    return t.rfind(prefix, 0) == 0;
  }));
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += "\n  [" + t + "]";
  return out;
}

// The research GETs of a dump as "time url".
std::vector<std::string> ResearchGets(const json::Value& dump) {
  std::vector<std::string> out;
  for (const json::Value& r : At(dump, {"research_requests"}).elements) {
    out.push_back(std::to_string(static_cast<long long>(At(r, {"time"}).number)) + " " +
                  At(r, {"url"}).text);
  }
  return out;
}

TEST(ResearchScenarios, EachNewPositiveRequestValueStartsOneGet) {
  const std::string scenario = "research_request_values.json";
  const std::string url = LevelsOrigin(scenario) + kResearchPath + "2025-01-02";
  const std::string g1 = "1735832700 " + url, g2 = "1735832710 " + url;
  const std::string g3 = "1735832725 " + url, g4 = "1735832735 " + url;
  struct Case {
    const char* dump;
    std::vector<std::string> gets;
  };
  const Case cases[] = {
      {"first", {g1}},                        // 0 -> 1
      {"changed_to_2", {g1, g2}},             // 1 -> 2
      {"left_at_2", {g1, g2}},                // 2 stays 2 over two calls
      {"back_to_1", {g1, g2, g3}},            // 2 -> 1
      {"changed_while_pending", {g1, g2, g3}},  // 1 -> 3 while the GET of 1 runs: waits
      {"after_pending_polled", {g1, g2, g3, g4}},  // the call that polls it starts the GET of 3
      {"zero_and_negative", {g1, g2, g3, g4}},     // 0 and -5 never fetch
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResearchGets(DumpOf(scenario, c.dump)), c.gets) << c.dump;
  }
}

TEST(ResearchScenarios, DayChangeResetsTheViewAndDropsTheLateResult) {
  const std::string scenario = "research_day_change.json";
  struct Case {
    const char* dump;
    const char* status;  // the research status line the panel must show
  };
  const Case cases[] = {
      {"in_progress", kInProgress},
      {"day_changed", kInitialStatus},          // the view is reset at once
      {"late_404_dropped", kInitialStatus},     // a failed GET of the old day says nothing
      {"late_answer_dropped", kInitialStatus},  // an accepted-looking answer of the old day too
  };
  for (const Case& c : cases) {
    const std::vector<std::string> texts = PanelTexts(DumpOf(scenario, c.dump));
    EXPECT_NE(IndexOf(texts, c.status), -1) << c.dump << Joined(texts);
    const std::string other = c.status == std::string(kInProgress) ? kInitialStatus : kInProgress;
    EXPECT_EQ(IndexOf(texts, other), -1) << c.dump << Joined(texts);
    EXPECT_EQ(CountStartingWith(texts, kUnavailablePrefix), 0) << c.dump << Joined(texts);
    EXPECT_EQ(CountStartingWith(texts, "History "), 0) << c.dump << Joined(texts);
    EXPECT_EQ(CountStartingWith(texts, "Research captured"), 0) << c.dump << Joined(texts);
  }
  // No GET starts while the old one runs; the second is for the trimmed day text.
  const std::string url = LevelsOrigin(scenario) + kResearchPath + "2025-01-02";
  EXPECT_EQ(ResearchGets(DumpOf(scenario, "late_404_dropped")),
            std::vector<std::string>({"1735832700 " + url}));
  EXPECT_EQ(ResearchGets(DumpOf(scenario, "late_answer_dropped")),
            std::vector<std::string>({"1735832700 " + url, "1735832715 " + url}));
}

TEST(ResearchScenarios, FailedGetShowsTheUnavailableLineWithItsStatus) {
  const std::string scenario = "research_unavailable.json";
  struct Case {
    const char* dump;
    const char* line;
  };
  const Case cases[] = {
      {"http404", "Research unavailable (HTTP 404). Change request to retry."},
      {"http0", "Research unavailable (HTTP 0). Change request to retry."},
      {"http200_not_json", "Research unavailable (HTTP 200). Change request to retry."},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> texts = PanelTexts(DumpOf(scenario, c.dump));
    EXPECT_NE(IndexOf(texts, c.line), -1) << c.dump << Joined(texts);
    EXPECT_EQ(CountStartingWith(texts, kUnavailablePrefix), 1) << c.dump << Joined(texts);
    EXPECT_EQ(IndexOf(texts, kInProgress), -1) << c.dump << Joined(texts);
  }
}

TEST(ResearchScenarios, AcceptedAnswerShowsHistoryChangesBookAndInspector) {
  const std::vector<std::string> texts = PanelTexts(DumpOf("research_accepted.json", "accepted"));
  // In panel order. Changes between the 14:35 and 15:42:10 captures of all_expirations (the 0DTE
  // row has another provenance): ratio 41.2 -> 41.25, call wall 530 -> 530 and put wall
  // 515 -> 515 QQQ points, gamma flip 519.5 -> 520.16 QQQ points.
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
      // Thursday 2025-01-02 through Friday 2025-01-03.
      "Week through Friday: 2 / 6 served",
      "2025-01-02 | gex 575201570 [9/9] | dex -3178493 [9/9] | vex 74824156 [9/9] | charmex -52052400 [9/9]",
      "2025-01-02 strike 521 | gex 23176405 | dex -63000000 | vex 13020000 | charmex -10934267",
      "Book raw Greeks / IV / OI / volume: missing (model aggregates).",
      "2025-01-03 | gex 314991338 [9/9] | dex 184559397 [9/9] | vex 40975131 [9/9] | charmex -28504885 [9/9]",
      "2025-01-03 strike 521 | gex 12691841 | dex -13800000 | vex 7130000 | charmex -5987813",
      // The live map's strike 21491.25 is 521 x 41.25.
      "Served map QQQ / ordinel-gex-2 / ratio / all_expirations",
      "Source time 2025-01-02T15:42:10Z | expiry  | ratio 41.25",
      "Served columnar strike Greeks: gamma 88293914 | delta 23620733 | vanna -1596186 | vega 30307220 | "
      "charm 878491 | oi 2261 | vol 3483 | ",
  };
  int previous = -1;
  for (const std::string& line : expected) {
    const int index = IndexOf(texts, line);
    EXPECT_GT(index, previous) << "[" << line << "] missing or out of order" << Joined(texts);
    if (index >= 0) previous = index;
  }
  EXPECT_EQ(CountStartingWith(texts, "Book raw Greeks"), 2) << Joined(texts);
  EXPECT_EQ(CountStartingWith(texts, "Change unavailable"), 0) << Joined(texts);
}

TEST(ResearchScenarios, CallWallMigrationAlertsOncePerCooldown) {
  const std::string scenario = "research_alerts.json";
  const std::string text = "NQ / QQQ / 2025-01-02: call wall migration";
  struct Case {
    const char* dump;
    size_t levelsRequests;  // answers delivered so far, proving each capture was taken
    std::vector<std::string> alerts;
  };
  const Case cases[] = {
      {"armed", 1, {}},                       // the first live capture only arms
      {"migrated", 2, {text}},                // call wall 530 -> 531 QQQ points
      {"within_cooldown", 3, {text}},         // back to 530, 185 s after the alert: held back
      {"after_cooldown", 4, {text, text}},    // 531 again, 370 s after the alert
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf(scenario, c.dump);
    EXPECT_EQ(At(dump, {"requests"}).elements.size(), c.levelsRequests) << c.dump;
    std::vector<std::string> alerts;
    for (const json::Value& a : At(dump, {"alerts"}).elements) {
      alerts.push_back(At(a, {"text"}).text);
      EXPECT_EQ(At(a, {"number"}).number, 1) << c.dump;
      EXPECT_EQ(At(a, {"bar"}).number, 199) << c.dump;
    }
    EXPECT_EQ(alerts, c.alerts) << c.dump;
  }
}

}  // namespace
