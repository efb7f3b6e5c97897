// Runs the `ordinel` program on scenario files and checks the reports it prints.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "json/json_document.h"
#include "replay_test_support.h"

namespace {

using replay_test::At;
using replay_test::Dump;
using replay_test::ProgramRun;
using replay_test::Report;
using replay_test::RunOrdinel;
using replay_test::SubgraphValue;
using replay_test::TestScenario;

TEST(Replay, OnlyACallListsEveryInputAndSubgraph) {
  const json::Node report = Report(TestScenario("only_call.json"));
  const json::Node study = At(report, {"study"});
  EXPECT_EQ(At(study, {"dll_version"}).number(), 2941);
  EXPECT_EQ(At(study, {"inputs"}).size(), 77u);
  EXPECT_EQ(At(study, {"subgraphs"}).size(), 44u);
  EXPECT_EQ(At(At(study, {"inputs"}).ElementAt(1), {"choices"}).size(), 11u) << "Requested symbol";
  EXPECT_EQ(At(At(study, {"inputs"}).ElementAt(3), {"max"}).number(), 3600) << "Refresh interval";
  ASSERT_EQ(At(report, {"dumps"}).size(), 1u);
  const json::Node end = Dump(report, "end");
  EXPECT_EQ(At(end, {"inputs"}).size(), 77u);
  EXPECT_EQ(At(end, {"time"}).number(), 1735832700);
}

// Every scenario, run twice: a report is the same to the byte each time. This also keeps every
// scenario running in the suite, so a scenario the study can no longer play fails here.
TEST(Replay, EveryScenarioGivesTheSameBytesEachTime) {
  std::vector<std::string> scenarios;
  for (const char* dir : {ORDINEL_TEST_SCENARIOS, ORDINEL_DATA "/scenarios"}) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".json" && name.rfind("bad_", 0) != 0) {
        scenarios.push_back(entry.path().string());
      }
    }
  }
  ASSERT_GT(scenarios.size(), 25u);
  for (const std::string& scenario : scenarios) {
    const ProgramRun first = RunOrdinel({"replay", scenario});
    ASSERT_EQ(first.exitCode, 0) << scenario << "\n" << first.err;
    EXPECT_EQ(RunOrdinel({"replay", scenario}).out, first.out) << scenario;
  }
}

TEST(Replay, BadScenariosExitTwoNamingTheStep) {
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"bad_respond_nothing_pending.json", "step 1 (respond): no host HTTP request is pending"},
      {"bad_unknown_step.json", "step 2 (teleport): unknown step"},
      {"bad_unknown_input.json", "step 3 (set): the study declares no input \"No such input\""},
      {"bad_choice_text.json", "step 1 (set): input \"Requested symbol\" has no choice \"BTC\""},
      {"bad_missing_file.json", "step 2 (respond): cannot read file"},
      {"bad_not_json.json", "the scenario is not a JSON object"},
      {"no_such_scenario.json", "cannot read the file"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunOrdinel({"replay", TestScenario(c.file)});
    EXPECT_EQ(run.exitCode, 2) << c.file;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.file << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.file;
  }
}

// Every one of these ended in std::bad_alloc (exit 134) or ate all the memory there was.
TEST(Ordinel, RegressionReadersStopAtTheirSizeLimit) {
  const std::string scenario = testing::TempDir() + "/respond_zero_" + std::to_string(getpid()) + ".json";
  std::ofstream(scenario) << R"({"steps": [{"call": 1735741800}, {"respond": {"file": "/dev/zero"}}]})";
  struct Case {
    std::vector<std::string> args;
    const char* input;  // standard input, when not empty
    const char* message;
  };
  const std::string never = testing::TempDir() + "/never_" + std::to_string(getpid());
  const Case cases[] = {
      {{"inspect", "/dev/zero"}, "", "ordinel inspect: cannot read /dev/zero: larger than 16 MiB"},
      {{"inspect", "-"}, "/dev/zero", "ordinel inspect: cannot read standard input: larger than 16 MiB"},
      {{"replay", scenario}, "", "step 2 (respond): cannot read file '/dev/zero': larger than 16 MiB"},
      {{"replay", "/dev/zero"}, "", "/dev/zero: cannot read the file: larger than 64 MiB"},
      {{"chart", "--bars", "/dev/zero", "--out", never}, "", "cannot read the bars file '/dev/zero': larger than 8 MiB"},
      {{"chart", "--chart-file", "/dev/zero", "--out", never}, "",
       "cannot read the chart file '/dev/zero': larger than 1 MiB"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunOrdinel(c.args, c.input);
    EXPECT_EQ(run.exitCode, 2) << c.message << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << c.message;
  }
  std::remove(scenario.c_str());
}

TEST(Replay, MissingStudyLibraryIsReported) {
  const ProgramRun run = RunOrdinel({"replay", TestScenario("only_call.json"), "--study", "/nonexistent/lib.so"});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("/nonexistent/lib.so"), std::string::npos) << run.err;
}

TEST(Replay, LevelsRequestAnswerAndChartRequest) {
  const json::Node report = Report(TestScenario("levels_cycle.json"));
  const json::Node sent = Dump(report, "sent");
  ASSERT_EQ(At(sent, {"requests"}).size(), 1u);
  const json::Node levels = At(sent, {"requests"}).ElementAt(0);
  EXPECT_NE(At(levels, {"url"}).text().find("/extension/levels?symbol=NQ&mode=locked"), std::string::npos)
      << At(levels, {"url"}).text();
  EXPECT_EQ(At(levels, {"body"}).text(), "{}");
  EXPECT_EQ(At(levels, {"headers"}).size(), 3u);
  const json::Node loaded = Dump(report, "loaded");
  EXPECT_EQ(SubgraphValue(loaded, "Call Wall"), 21862.5);
  ASSERT_EQ(At(loaded, {"requests"}).size(), 2u) << "the answer's call sends the VIX request";
  const json::Node vix = At(loaded, {"requests"}).ElementAt(1);
  EXPECT_NE(At(vix, {"url"}).text().find("/v8/finance/chart/%5EVIX?interval=1d&range=5d"), std::string::npos);
  EXPECT_EQ(At(vix, {"body"}).kind(), json::kNull);
}

}  // namespace
