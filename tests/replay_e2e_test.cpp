// Runs the `ordinel` program on scenario files: each report the same to the byte every time, bad
// scenarios and oversized inputs refused with exit 2.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "replay_test_support.h"

namespace {

using replay_test::ProgramRun;
using replay_test::RunOrdinel;
using replay_test::TestScenario;

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

// A scenario that cannot be played. Unreadable and unparsable ones end as the size limits below
// do; the messages of the others are the session's (src/tools/replay/replay_session_test).
TEST(Replay, UnplayableScenarioExitsTwoNamingTheStep) {
  const ProgramRun run = RunOrdinel({"replay", TestScenario("bad_respond_nothing_pending.json")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("step 1 (respond): no host HTTP request is pending"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
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

}  // namespace
