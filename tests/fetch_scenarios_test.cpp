// The levels fetch cycle seen from outside: runs the fetch_*.json scenarios through
// `ordinel replay` and checks when each request went out, what the message log received and
// which levels stayed drawn. Expected times follow from the timer rules: levels every refresh
// interval (at least 180 s) after an answer, chart closes 300 s after their answer, 30 s after an
// unreadable answer, 45 s before a levels request counts as late.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json/json_value.h"
#include "replay_test_support.h"

namespace {

using replay_test::AnswerFile;
using replay_test::At;
using replay_test::Drawing;
using replay_test::DumpOf;
using replay_test::ReportOf;
using replay_test::Slurp;
using replay_test::SubgraphValue;
using replay_test::TestScenario;

constexpr double kT0 = 1735832700;  // 2025-01-02 15:45 UTC, the start of most fetch scenarios
constexpr double kLockedRefreshAfter = 1735914600;  // "locked_refresh_after_unix" of locked.json
constexpr double kHoldHorizon = 259200;

const char kNqLocked[] = "/extension/levels?symbol=NQ&mode=locked&basis=signed_flow";
const char kNqDynamic[] = "/extension/levels?symbol=NQ&basis=signed_flow";
const char kEsLocked[] = "/extension/levels?symbol=ES&mode=locked&basis=signed_flow";
const char kEsSpx[] = "/extension/levels?symbol=ES&mode=locked&basis=signed_flow&source=SPX";
const char kVix[] = "/v8/finance/chart/%5EVIX?interval=1d&range=5d";
const char kQqq[] = "/v8/finance/chart/QQQ?interval=1d&range=1mo";

const char kLateLine[] =
    "Ordinel: Live levels are taking longer than usual. Retrying - your last levels stay on the chart.";
const char kNotJsonLine[] =
    "Ordinel: API response was not valid JSON - see the Message Log for what came back. Retrying.";
const char kSpxLine[] = "Ordinel: SPX source unavailable: no SPX-derived ES map returned.";

struct Sent {
  double time;
  const char* what;  // a levels path and query (after the levels origin) or a chart path
};

// One request as "time what": levels requests must be the levels origin plus the expected path
// and query exactly; chart requests go to an HTTPS origin of the study's choice.
std::string DescribeRequest(const json::Value& request, const std::string& levelsOrigin) {
  const std::string& url = At(request, {"url"}).text;
  std::string what = url;
  if (url.rfind(levelsOrigin + "/extension/", 0) == 0) {
    what = url.substr(levelsOrigin.size());
  } else if (url.rfind("https://", 0) == 0) {
    const size_t path = url.find("/v8/finance/chart/");
    if (path != std::string::npos) what = url.substr(path);
  }
  return std::to_string(static_cast<long long>(At(request, {"time"}).number)) + " " + what;
}

std::vector<std::string> SentRequests(const json::Value& report, const json::Value& dump) {
  const std::string origin = At(At(report, {"study", "inputs"}).elements.at(0), {"default"}).text;
  std::vector<std::string> out;
  for (const json::Value& request : At(dump, {"requests"}).elements) {
    out.push_back(DescribeRequest(request, origin));
  }
  return out;
}

std::vector<std::string> Expected(const std::vector<Sent>& sent) {
  std::vector<std::string> out;
  for (const Sent& s : sent) out.push_back(std::to_string(static_cast<long long>(s.time)) + " " + s.what);
  return out;
}

// The message-log entries of a dump as "show|text" or "hide|text".
std::vector<std::string> LogEntries(const json::Value& dump) {
  std::vector<std::string> out;
  for (const json::Value& entry : At(dump, {"log"}).elements) {
    out.push_back(std::string(At(entry, {"show"}).boolean ? "show|" : "hide|") + At(entry, {"text"}).text);
  }
  return out;
}

// The price of the chart line `line` in a dump; -1 when that line is not drawn.
double LinePrice(const json::Value& dump, int line) {
  const json::Value* d = Drawing(dump, line);
  return d ? At(*d, {"price"}).number : -1;
}

// The start of an unreadable reply as the log shows it: at most 240 bytes, every byte outside
// the printable ASCII range as a space.
std::string ReplyStart(const std::string& body) {
  std::string start = body.substr(0, 240);
  for (char& c : start) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126) c = ' ';
  }
  return start;
}

// The body of the scenario's first {"respond": {"body": ...}} step.
std::string InlineBody(const std::string& scenario) {
  json::Value parsed;
  EXPECT_TRUE(json::ParseJson(Slurp(TestScenario(scenario)), &parsed)) << scenario;
  for (const json::Value& step : At(parsed, {"steps"}).elements) {
    const json::Value& body = At(step, {"respond", "body"});
    if (body.kind == json::kString) return body.text;
  }
  ADD_FAILURE() << scenario << " has no respond step with a body";
  return {};
}

TEST(FetchScenarios, RequestsGoOutWhenTheTimersSay) {
  struct Case {
    const char* scenario;
    const char* dump;
    std::vector<Sent> sent;
  };
  const double far = kLockedRefreshAfter - 4 * 86400;  // the capture's refresh is 4 days ahead
  const double edge = kLockedRefreshAfter - kHoldHorizon;
  const Case cases[] = {
      // The first call asks at once; the slot stays busy until the answer.
      {"fetch_first_cycle.json", "sent", {{kT0, kNqLocked}}},
      // The answer's call finds the VIX timer at 0, the VIX answer's call the QQQ timer.
      {"fetch_first_cycle.json", "levels", {{kT0, kNqLocked}, {kT0 + 5, kVix}}},
      {"fetch_first_cycle.json", "vix", {{kT0, kNqLocked}, {kT0 + 5, kVix}, {kT0 + 10, kQqq}}},
      // At T0+180 nothing is due: levels at T0+185, VIX at T0+310, QQQ at T0+315.
      {"fetch_first_cycle.json", "end", {{kT0, kNqLocked}, {kT0 + 5, kVix}, {kT0 + 10, kQqq}}},
      // A held locked capture stops every request, chart closes included, until its refresh time.
      {"fetch_locked_held.json", "held", {{kT0, kNqLocked}}},
      {"fetch_locked_held.json", "still_held", {{kT0, kNqLocked}}},
      {"fetch_locked_held.json", "released", {{kT0, kNqLocked}, {kLockedRefreshAfter, kNqLocked}}},
      // 259201 s ahead is beyond the horizon (the VIX request goes out); 259200 s is held.
      {"fetch_locked_horizon.json", "beyond_horizon", {{edge - 10, kNqLocked}, {edge - 1, kVix}}},
      {"fetch_locked_horizon.json", "at_horizon", {{edge - 10, kNqLocked}, {edge - 1, kVix}}},
      {"fetch_locked_far.json", "end",
       {{far, kNqLocked}, {far + 5, kVix}, {far + 10, kQqq}, {far + 185, kNqLocked}}},
      // Refresh 600: the next levels request is 600 s after the answer (T0+5), not the request;
      // the chart closes follow 300 s after their own answers.
      {"fetch_refresh_600.json", "end",
       {{kT0, kNqDynamic},
        {kT0 + 5, kVix},
        {kT0 + 10, kQqq},
        {kT0 + 310, kVix},
        {kT0 + 315, kQqq},
        {kT0 + 605, kNqDynamic}}},
      // A late answer retries one refresh interval after the timeout (T0+231 + 180).
      {"fetch_levels_timeout.json", "waiting", {{kT0, kNqLocked}, {kT0 + 185, kNqLocked}}},
      {"fetch_levels_timeout.json", "timed_out_again",
       {{kT0, kNqLocked}, {kT0 + 185, kNqLocked}, {kT0 + 411, kNqLocked}}},
      // An unreadable answer at T0+190 retries at T0+220.
      {"fetch_html_answer.json", "long_html",
       {{kT0, kNqLocked}, {kT0 + 185, kNqLocked}, {kT0 + 220, kNqLocked}}},
      // An unreadable answer also holds back the chart closes for 300 s (T0+5 + 300), though
      // their timers were due.
      {"fetch_html_fear_timers.json", "end",
       {{kT0, kNqLocked}, {kT0 + 35, kNqLocked}, {kT0 + 305, kVix}}},
      // The switch does not disturb the request in flight; its answer's call asks for ES.
      {"fetch_symbol_switch.json", "in_flight", {{kT0, kNqLocked}}},
      {"fetch_symbol_switch.json", "end", {{kT0, kNqLocked}, {kT0 + 4, kEsLocked}}},
      // A refused SPX answer waits a full refresh interval like any failed answer.
      {"fetch_spx_source.json", "lowercase_answer",
       {{kT0, kEsSpx}, {kT0 + 185, kEsSpx}, {kT0 + 370, kEsSpx}}},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf(c.scenario, c.dump);
    EXPECT_EQ(SentRequests(ReportOf(c.scenario), dump), Expected(c.sent)) << c.scenario << " at " << c.dump;
  }
}

TEST(FetchScenarios, LevelsStayDrawnThroughEveryFailure) {
  struct Case {
    const char* scenario;
    const char* dump;
    double callWall;  // line 71000 and the Call Wall subgraph; 0 = nothing drawn
  };
  const Case cases[] = {
      {"fetch_first_cycle.json", "sent", 0},
      {"fetch_first_cycle.json", "levels", 21862.5},
      {"fetch_locked_held.json", "held", 21862.5},
      {"fetch_levels_timeout.json", "timed_out", 21862.5},
      {"fetch_levels_timeout.json", "timed_out_again", 21862.5},
      {"fetch_html_answer.json", "html", 21862.5},
      {"fetch_html_answer.json", "long_html", 21862.5},
      // The NQ answer that arrives after the switch to ES is not taken.
      {"fetch_symbol_switch.json", "dropped", 0},
      {"fetch_spx_source.json", "spx_loaded", 6000},
      {"fetch_spx_source.json", "spy_answer", 6000},
      {"fetch_spx_source.json", "lowercase_answer", 6000},
  };
  for (const Case& c : cases) {
    const json::Value& dump = DumpOf(c.scenario, c.dump);
    EXPECT_EQ(SubgraphValue(dump, "Call Wall"), c.callWall) << c.scenario << " at " << c.dump;
    EXPECT_EQ(LinePrice(dump, 71000), c.callWall == 0 ? -1 : c.callWall) << c.scenario << " at " << c.dump;
  }
}

TEST(FetchScenarios, ProblemsAreLoggedOncePerChangeWithTheShowFlag) {
  struct Case {
    const char* scenario;
    const char* dump;
    std::vector<std::string> log;
  };
  const std::string late = std::string("show|") + kLateLine;
  const std::string spx = std::string("show|") + kSpxLine;
  const Case cases[] = {
      {"fetch_first_cycle.json", "end", {}},
      {"fetch_locked_held.json", "released", {}},
      {"fetch_refresh_600.json", "end", {}},
      // 45 s exactly is not late yet.
      {"fetch_levels_timeout.json", "waiting", {}},
      {"fetch_levels_timeout.json", "timed_out", {late}},
      {"fetch_levels_timeout.json", "timed_out_again", {late}},
      {"fetch_symbol_switch.json", "end", {}},
      {"fetch_spx_source.json", "spx_loaded", {}},
      {"fetch_spx_source.json", "spy_answer", {spx}},
      {"fetch_spx_source.json", "lowercase_answer", {spx}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LogEntries(DumpOf(c.scenario, c.dump)), c.log) << c.scenario << " at " << c.dump;
  }
}

TEST(FetchScenarios, UnreadableAnswerLogsTheStartOfTheReply) {
  const std::string page = Slurp(AnswerFile("not_json.html"));
  ASSERT_FALSE(page.empty());
  // 279 bytes whose 240th byte is the first of a two-byte character: the cut splits it.
  const std::string longPage = InlineBody("fetch_html_answer.json");
  ASSERT_GT(longPage.size(), 240u);
  ASSERT_EQ(static_cast<unsigned char>(longPage[239]), 0xC3u) << "the fixture must split a character";
  const std::string first = "show|Ordinel: step 4 answered " + std::to_string(page.size()) +
                            " bytes that are not JSON. Start of the reply: " + ReplyStart(page);
  const std::string second = "show|Ordinel: step 4 answered " + std::to_string(longPage.size()) +
                             " bytes that are not JSON. Start of the reply: " + ReplyStart(longPage);
  const std::string error = std::string("show|") + kNotJsonLine;
  EXPECT_EQ(LogEntries(DumpOf("fetch_html_answer.json", "html")), (std::vector<std::string>{first, error}));
  // The error line is unchanged by the second page, so only the reply is logged again.
  EXPECT_EQ(LogEntries(DumpOf("fetch_html_answer.json", "long_html")),
            (std::vector<std::string>{first, error, second}));
}

}  // namespace
