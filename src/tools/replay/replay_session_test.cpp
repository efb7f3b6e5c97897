#include "replay/replay_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "replay/replay_report.h"
#include "replay/replay_scenario.h"
#include "replay/replay_values.h"
#include "json/json_document.h"
#include "jsonout/json_writer.h"
#include "text/utf8_text.h"
#include "platform/services.h"
#include "text/format.h"

namespace replay {
namespace {

std::string Pretty(json::Node value) {
  return jsonout::JsonText(value, jsonout::JsonWriter::Layout::kPretty);
}

// A small study with the same habits as the real one: declares inputs and subgraphs, sends one
// request, draws a line when the answer arrives, keeps a panel text, logs pointer presses,
// starts a research GET when "Research request" turns positive, and clears up on removal.
struct TestState {
  bool sent = false;
  int researchAsked = 0;
};

void DeclareTestStudy(host::StudyHost& sc) {
  sc.DeclareStudy({"Test", "A test study", 0, {0, 0, 1, 2, 40}});
  sc.DeclareInput(1, {"Requested symbol", host::InputKind::kChoice, 0, "", {}, {}, "AUTO;NQ;ES"});
  sc.DeclareInput(2, {"Refresh interval (seconds)", host::InputKind::kInteger, 180, "", 180.0, 3600.0, ""});
  sc.DeclareInput(3, {"Verbose Message Log", host::InputKind::kYesNo, 0, "", {}, {}, ""});
  sc.DeclareInput(5, {"Research request", host::InputKind::kInteger, 0, "", {}, {}, ""});
  sc.DeclareSubgraph(0, {"Call Wall", 5, {115, 240, 176}, 1});
  sc.DeclareSubgraph(1, {"Put Wall", 5, {255, 139, 139}, 1});
}

void DrawTestStudy(host::StudyHost& sc, const std::string& body) {
  host::DrawingRequest text = sc.NewDrawingRequest();
  text.chartNumber = sc.ChartNumber();
  text.lineNumber = 71400;
  text.kind = host::DrawingKind::kText;
  text.beginBar = sc.VisibleBars().first;
  text.beginValue = 97;
  text.relativeVertical = true;
  text.text = "[Fold] Panel " + sc.ChartSymbol();
  sc.SubmitDrawing(text);
  if (body.empty()) return;
  host::DrawingRequest line = sc.NewDrawingRequest();
  line.chartNumber = sc.ChartNumber();
  line.lineNumber = 71000;
  line.beginValue = 21600;
  line.colour = sc.SubgraphColour(0);
  line.text = body;
  sc.SubmitDrawing(line);
}

void TestStudy(host::StudyHost& sc) {
  if (sc.IsDeclarationCall()) return DeclareTestStudy(sc);
  auto* state = static_cast<TestState*>(sc.PersistentPointer(1));
  if (sc.IsRemovalCall()) {
    sc.DeleteDrawing(sc.ChartNumber(), -1, 0);
    delete state;
    sc.SetPersistentPointer(1, nullptr);
    return;
  }
  if (!state) {
    state = new TestState;
    sc.SetPersistentPointer(1, state);
  }
  if (sc.Pointer().code == 1) {
    sc.LogMessage(text::Format("press %d %d", sc.Pointer().x, sc.Pointer().y), false);
  }
  if (!state->sent) {
    state->sent = sc.HttpRequestWithBody("https://levels.test/levels?symbol=" + sc.ChartSymbol(), "{}",
                                         {{"Content-Type", "application/json"}});
  }
  const int research = sc.ReadInputInt(5);
  if (research > 0 && research != state->researchAsked) {
    state->researchAsked = research;
    platform::Services* services = sc.Platform();
    services->StartDetachedThread(
        [services] { services->HttpsGet("https://levels.test/research?day=2025-01-01", {}); });
  }
  DrawTestStudy(sc, sc.HttpResponseBody());
  sc.SetSubgraphValue(0, sc.BarCount() - 1, static_cast<float>(sc.ReadInputFloat(2)));
}

struct Outcome {
  bool ran = false;
  std::string error;
  std::string report;
  std::shared_ptr<json::Document> parsed = std::make_shared<json::Document>();  // the report
  json::Node Root() const { return parsed->Root(); }
};

Outcome Replay(const std::string& scenarioText) {
  Outcome outcome;
  Scenario scenario;
  if (!ParseScenario(scenarioText, ".", &scenario, &outcome.error)) return outcome;
  ReplaySession session(scenario, TestStudy);
  outcome.ran = session.Run(&outcome.error);
  EXPECT_TRUE(session.Finish());
  if (!outcome.ran) return outcome;
  outcome.report = ReplayReport({"Test", 7}, session);
  EXPECT_EQ(outcome.parsed->ParseOwned(outcome.report), json::ParseResult::kParsed) << outcome.report;
  return outcome;
}

json::Node At(json::Node v, std::initializer_list<const char*> path) {
  for (const char* key : path) v = json::Member(v, key);
  return v;
}

TEST(ReplaySession, InvalidScenariosAndImpossibleStepsNameThePartAtFault) {
  struct Case {
    const char* scenario;
    const char* error;
  };
  const Case cases[] = {
      {"[1]", "the scenario is not a JSON object"},
      {"{\"step\": []}", "unknown key \"step\""},
      {"{\"steps\": [{\"call\": 1}, {\"respond\": {}}]}",
       "step 2 (respond): expected exactly one of \"body\", \"json\" or \"file\""},
      {"{\"steps\": [{\"call\": 1, \"dump\": \"x\"}]}", "step 1: a step is an object with one key"},
      {"{\"steps\": [{\"jump\": 1}]}", "step 1 (jump): unknown step"},
      {"{\"steps\": [{\"click\": {\"x\": 70000, \"y\": 1, \"at\": 1}}]}",
       "step 1 (click): x: expected a whole number from -32768 to 32767"},
      {"{\"steps\": [{\"respond\": {\"file\": \"no-such-file.json\"}}]}",
       "step 1 (respond): cannot read file './no-such-file.json': No such file or directory"},
      {"{\"steps\": [{\"declare\": false}]}", "step 1 (declare): expected true"},
      {"{\"chart\": {\"bars\": {\"flat\": {\"count\": 10, \"price\": 5}}, \"visible\": [0, 10]}}",
       "chart.visible: expected [FIRST, LAST] with 0 <= FIRST <= LAST < bar count"},
      {"{\"chart\": {\"tick_size\": 0}}", "chart.tick_size: expected a positive number"},
      {"{\"chart\": {\"region\": {\"top\": 700}}}", "chart.region: expected top < bottom and left < right"},
      {"{\"colours\": {\"Call Wall\": [1, 2, 256]}}",
       "colours: \"Call Wall\": expected [R, G, B] with whole numbers from 0 to 255"},
      // Parsed, but impossible when played.
      {"{\"steps\": [{\"respond\": {\"body\": \"x\"}}]}",
       "step 1 (respond): no host HTTP request is pending"},
      {"{\"steps\": [{\"research\": {\"status\": 200, \"body\": \"{}\"}}]}",
       "step 1 (research): no research request is pending"},
      {"{\"steps\": [{\"call\": 1}, {\"set\": {\"Nope\": 1}}]}",
       "step 2 (set): the study declares no input \"Nope\""},
      {"{\"inputs\": {\"Requested symbol\": \"GC\"}}",
       "inputs: input \"Requested symbol\" has no choice \"GC\" (it takes one of: AUTO, NQ, ES, or an index "
       "from 0)"},
      {"{\"colours\": {\"Spot\": [1, 2, 3]}}", "colours: the study declares no subgraph \"Spot\""},
      {"{\"steps\": [{\"click_text\": {\"text\": \"Panel\", \"at\": 1}}]}",
       "step 1 (click_text): no text drawing contains \"Panel\""},
      {"{\"steps\": [{\"visible\": [0, 200]}]}",
       "step 1 (visible): last visible bar 200 is beyond the 200 bars of the chart"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Replay(c.scenario);
    EXPECT_FALSE(outcome.ran) << c.scenario;
    EXPECT_EQ(outcome.error, c.error) << c.scenario;
  }
}

TEST(ReplaySession, InputsColoursAndStepsReachTheStudy) {
  const Outcome outcome = Replay(R"json({
    "chart": {"symbol": "ESZ25"},
    "inputs": {"Requested symbol": "ES", "Refresh interval (seconds)": 60, "Verbose Message Log": true},
    "colours": {"Call Wall": [10, 200, 30]},
    "steps": [
      {"call": 1735741800},
      {"respond": {"json": {"gamma_flip": 21600, "ok": true}}},
      {"click_text": {"text": "Panel", "at": 1735741810}},
      {"dump": "answered"},
      {"set": {"Requested symbol": 7}},
      {"append_bars": [[21500, 21520, 21490, 21510]]},
      {"remove": 1735741820}
    ]})json");
  ASSERT_TRUE(outcome.ran) << outcome.error;
  const json::Node dumps = At(outcome.Root(), {"dumps"});
  ASSERT_EQ(dumps.size(), 2u);
  const json::Node first = dumps.ElementAt(0);
  EXPECT_EQ(At(first, {"name"}).text(), "answered");
  EXPECT_EQ(At(first, {"time"}).number(), 1735741810);
  const json::Node request = At(first, {"requests"}).ElementAt(0);
  EXPECT_EQ(At(request, {"url"}).text(), "https://levels.test/levels?symbol=ESZ25");
  // Bar 100 is the first visible: x = 0 + 0 * 8 + 4, 3 pixels right; y = 620 - 600 * 0.97.
  EXPECT_EQ(At(first, {"log"}).ElementAt(0).PairAt(0).value.text(), "press 7 38");
  const json::Node line = At(first, {"drawings"}).ElementAt(0);
  EXPECT_EQ(At(line, {"kind"}).text(), "line");
  EXPECT_EQ(At(line, {"text"}).text(), "{\n  \"gamma_flip\": 21600,\n  \"ok\": true\n}");
  EXPECT_EQ(Pretty(At(line, {"colour"})), "[\n  10,\n  200,\n  30\n]");
  EXPECT_EQ(At(first, {"subgraphs"}).ElementAt(0).PairAt(2).value.number(), 60) << "stored as given";
  const json::Node inputs = At(first, {"inputs"});
  EXPECT_EQ(At(inputs, {"Requested symbol"}).number(), 2);
  EXPECT_TRUE(At(inputs, {"Verbose Message Log"}).boolean());
  const json::Node end = dumps.ElementAt(1);
  EXPECT_EQ(At(end, {"name"}).text(), "end");
  EXPECT_EQ(At(end, {"inputs", "Requested symbol"}).number(), 7) << "an index beyond the list is kept";
  EXPECT_EQ(At(end, {"drawings"}).size(), 0u) << "the study deleted them on removal";
}

// A service answer's bytes that are not UTF-8 reached the report raw (here through the test
// study's line text), so the report was not valid JSON.
TEST(ReplaySession, RegressionReportIsValidUtf8WhateverTheAnswerHolds) {
  const Outcome outcome = Replay(
      "{\"steps\": [{\"call\": 1735741800}, {\"respond\": {\"body\": \"bad \xff\xed\xa0\x80 end\"}},"
      " {\"call\": 1735741810}]}");
  ASSERT_TRUE(outcome.ran) << outcome.error;
  EXPECT_EQ(text::ValidUtf8(outcome.report), outcome.report);
  const json::Node line = At(At(outcome.Root(), {"dumps"}).ElementAt(0), {"drawings"}).ElementAt(0);
  EXPECT_EQ(At(line, {"text"}).text(), "bad \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd end");
}

TEST(ReplaySession, ResearchStepWaitsForTheWorkerAndTheReportIsTheSameEveryTime) {
  const char* scenario = R"json({"steps": [
      {"call": 1735741800},
      {"set": {"Research request": 1}},
      {"call": 1735741900},
      {"call": 1735742000},
      {"research": {"status": 404, "body": "missing"}},
      {"dump": "after"}]})json";
  const Outcome first = Replay(scenario);
  ASSERT_TRUE(first.ran) << first.error;
  const json::Node research = At(first.Root(), {"dumps"}).ElementAt(0);
  const json::Node requests = At(research, {"research_requests"});
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(At(requests.ElementAt(0), {"time"}).number(), 1735741900) << "the time of the starting call";
  for (int run = 0; run < 3; ++run) EXPECT_EQ(Replay(scenario).report, first.report) << "run " << run;
}

// What `ordinel replay` prints: the report built as the dumps are taken.
struct BuiltOutcome {
  bool ran = false;
  std::string error;
  std::string report;
  int dumpsAdded = 0;
};

BuiltOutcome ReplayBuilt(const std::string& scenarioText, size_t limit) {
  BuiltOutcome outcome;
  Scenario scenario;
  EXPECT_TRUE(ParseScenario(scenarioText, ".", &scenario, &outcome.error)) << outcome.error;
  ReportBuilder builder(limit);
  ReplaySession session(scenario, TestStudy,
                        [&](const ReplaySession& running, const DumpRecord& dump, std::string* why) {
                          ++outcome.dumpsAdded;
                          return builder.AddDump(running, dump, why);
                        });
  outcome.ran = session.Run(&outcome.error);
  EXPECT_TRUE(session.Finish());
  EXPECT_TRUE(session.Dumps().empty()) << "the builder took them";
  if (outcome.ran) outcome.report = builder.Finish({"Test", 7}, session);
  return outcome;
}

// The declarations come first in the report but are written last: a colour changed after the
// first dump shows in them, as when the report was written from the kept dumps.
TEST(ReplaySession, TheReportBuiltDumpByDumpIsTheKeptDumpsReport) {
  const char* scenario = R"json({"steps": [
      {"call": 1735741800},
      {"set": {"Research request": 1}},
      {"call": 1735741900},
      {"dump": "first"},
      {"respond": {"body": "line"}},
      {"research": {"status": 200, "body": "{}"}},
      {"colour": {"Call Wall": [1, 2, 3]}},
      {"call": 1735742000},
      {"dump": "second"},
      {"declare": true},
      {"remove": 1735742100}]})json";
  const Outcome kept = Replay(scenario);
  ASSERT_TRUE(kept.ran) << kept.error;
  const BuiltOutcome built = ReplayBuilt(scenario, kMaxReportBytes);
  ASSERT_TRUE(built.ran) << built.error;
  EXPECT_EQ(built.dumpsAdded, 3);
  EXPECT_EQ(built.report, kept.report);
}

// 5,000 dumps of a chart with heatmaps made a 4.2 GB report, 60,000 ran out of memory: the
// report stops at the dump that passes its limit, and the session ends there.
TEST(ReplaySession, RegressionAReportPastItsLimitEndsTheSessionAtThatDump) {
  std::string scenario =
      R"({"steps": [{"call": 1735741800}, {"respond": {"body": "line"}}, {"call": 1735741810})";
  for (int i = 0; i < 200; ++i) scenario += ", {\"dump\": \"d\"}";
  scenario += "]}";
  const BuiltOutcome unbounded = ReplayBuilt(scenario, kMaxReportBytes);
  ASSERT_TRUE(unbounded.ran) << unbounded.error;
  ASSERT_GT(unbounded.report.size(), 40000u);

  const BuiltOutcome bounded = ReplayBuilt(scenario, 20000);
  EXPECT_FALSE(bounded.ran);
  EXPECT_LT(bounded.dumpsAdded, 200) << "the session stopped at the dump that passed the limit";
  EXPECT_EQ(bounded.error,
            text::Format("step %d (dump): the report would be larger than 20000 bytes, the most "
                         "ordinel replay prints; fewer dumps or smaller ones fit",
                         3 + bounded.dumpsAdded));
  // Without dump steps, the final dump is the one that passes.
  const BuiltOutcome final = ReplayBuilt(R"({"steps": [{"call": 1735741800}]})", 100);
  EXPECT_FALSE(final.ran);
  EXPECT_EQ(final.error.rfind("the final dump: the report would be larger than 100 bytes", 0), 0u)
      << final.error;
}

}  // namespace
}  // namespace replay
