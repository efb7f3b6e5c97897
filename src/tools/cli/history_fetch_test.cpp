#include "cli/history_fetch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "chart/clock.h"
#include "chart/declared_study_test_support.h"
#include "platform/posix/posix_services.h"
#include "transport/http_transport.h"

namespace cli {
namespace {

constexpr double kThursdayAfternoon = 1735830000;  // 2025-01-02 10:00 New York
constexpr double kFridayMidnight = 1735880400;     // 2025-01-03 00:00 New York

const char* const kHistory =
    R"({"ok":true,"times":[1735822800,1735826400],"series":{"call_wall":[21800,21850]}})";
const char* const kStrikes =
    R"({"ok":true,"times":[1735822800],"ratios":[41],"underlying_strikes":[500,505,510],"net_gex":[[1,2,3]]})";

class HistorySourceTest : public ::testing::Test {
 protected:
  HistorySourceTest() : host_(chart::ChartData{}, clock_, transport_, platform::DefaultServices()) {
    chart::testing::DeclareStudy(host_);
  }
  void SetBars(const std::vector<double>& times) {
    host_.Chart().bars.clear();
    for (double t : times) host_.Chart().bars.push_back({1, 1, 1, 1, t});
  }
  chart::VirtualClock clock_{kThursdayAfternoon};
  transport::ScriptedTransport transport_;
  chart::ChartHost host_;
};

TEST_F(HistorySourceTest, TheStudysServiceAndSymbolAndTheDayOfTheLastTimedBar) {
  ASSERT_TRUE(host_.Inputs().StoreText(study::kApiBaseUrl, "http://127.0.0.1:9/token"));
  SetBars({kThursdayAfternoon - 86400, kThursdayAfternoon, NAN});
  HistorySource source;
  std::string why;
  ASSERT_TRUE(HistorySourceOf(host_, platform::DefaultServices(), &source, &why)) << why;
  EXPECT_EQ(source.levelsOrigin, "http://127.0.0.1:9/token");
  EXPECT_EQ(source.symbol, "NQ");
  EXPECT_EQ(source.day, "2025-01-02");
  EXPECT_EQ(source.dayEnd, kFridayMidnight);
  EXPECT_EQ(HistoryUrl(source, "/history/strikes", {{"http://127.0.0.1:9", "http://127.0.0.1:10"}}),
            "http://127.0.0.1:10/token/history/strikes?symbol=NQ&day=2025-01-02");
}

TEST_F(HistorySourceTest, NoSourceWithoutBarTimesOrAKnownSymbol) {
  const struct {
    const char* symbol;
    std::vector<double> times;
    const char* why;
  } cases[] = {
      {"NQZ25", {NAN, NAN}, "the chart's bars have no times"},
      {"NQZ25", {}, "the chart's bars have no times"},
      {"CLZ25", {kThursdayAfternoon}, "the chart's symbol 'CLZ25' is not one the study knows"},
  };
  for (const auto& c : cases) {
    host_.Chart().symbol = c.symbol;
    SetBars(c.times);
    HistorySource source;
    std::string why;
    EXPECT_FALSE(HistorySourceOf(host_, platform::DefaultServices(), &source, &why)) << c.why;
    EXPECT_EQ(why, c.why);
  }
}

HistorySource Source() { return {"http://svc", "NQ", "2025-01-02", kFridayMidnight}; }

// A GET that answers from `answers` by URL, refusing the rest with "HTTP 404".
HistoryGet Canned(std::map<std::string, std::string> answers, std::vector<std::string>* asked = nullptr) {
  return [answers, asked](const std::string& url, std::string* body, std::string* error) {
    if (asked) asked->push_back(url);
    const auto it = answers.find(url);
    if (it == answers.end()) {
      *error = "HTTP 404";
      return false;
    }
    *body = it->second;
    return true;
  };
}

TEST(FetchDayHistory, EachPathCountsOnItsOwnAndTheStatusSaysWhatCame) {
  const std::string levels = "http://svc/history?symbol=NQ&day=2025-01-02";
  const std::string strikes = "http://svc/history/strikes?symbol=NQ&day=2025-01-02";
  const struct {
    const char* levelsBody;  // null: that path answers HTTP 404
    const char* strikesBody;
    bool hasLevels, hasStrikes;
    const char* status;
  } cases[] = {
      {kHistory, kStrikes, true, true,
       "history of NQ on 2025-01-02: 2 captures; GEX of 3 strikes at 1 times"},
      {kHistory, nullptr, true, false,
       "history of NQ on 2025-01-02: 2 captures; none from /history/strikes: HTTP 404"},
      {"<html>", kStrikes, false, true,
       "history of NQ on 2025-01-02: GEX of 3 strikes at 1 times; none from /history: unreadable answer: "
       "the answer is not a JSON object"},
      {nullptr, nullptr, false, false,
       "history of NQ on 2025-01-02: none from /history: HTTP 404; none from /history/strikes: HTTP 404"},
  };
  for (const auto& c : cases) {
    chart::DayHistory day;
    std::map<std::string, std::string> answers;
    if (c.levelsBody) answers[levels] = c.levelsBody;
    if (c.strikesBody) answers[strikes] = c.strikesBody;
    std::vector<std::string> asked;
    EXPECT_EQ(FetchDayHistory(Source(), {}, Canned(answers, &asked), &day), c.status);
    EXPECT_EQ(asked, (std::vector<std::string>{levels, strikes})) << c.status;
    EXPECT_EQ(day.hasLevels, c.hasLevels) << c.status;
    EXPECT_EQ(day.hasStrikes, c.hasStrikes) << c.status;
    EXPECT_EQ(day.dayEnd, kFridayMidnight) << c.status;
  }
}

TEST(HistoryFetcher, FetchesOffTheCallersThreadAndKeepsTheLatest) {
  const std::string levels = "http://svc/history?symbol=NQ&day=2025-01-02";
  HistoryFetcher fetcher({}, Canned({{levels, kHistory}}));
  EXPECT_EQ(fetcher.Latest().serial, 0);
  fetcher.Request(Source());
  ASSERT_TRUE(fetcher.WaitBeyond(0, 30)) << "the fetch finished within the deadline";
  const HistoryResult result = fetcher.Latest();
  EXPECT_EQ(result.serial, 1);
  EXPECT_TRUE(result.source == Source());
  ASSERT_NE(result.day, nullptr);
  EXPECT_TRUE(result.day->hasLevels);
  EXPECT_FALSE(result.day->hasStrikes);
}

}  // namespace
}  // namespace cli
