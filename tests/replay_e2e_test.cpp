// Runs the `ordinel` program on scenario files: each report the same to the byte every time, bad
// scenarios, inputs that are not regular files and oversized ones refused with exit 2.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
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

// A scenario that cannot be played. Unreadable and unparsable ones end as the refusals below
// do; the messages of the others are the session's (src/tools/replay/replay_session_test).
TEST(Replay, UnplayableScenarioExitsTwoNamingTheStep) {
  const ProgramRun run = RunOrdinel({"replay", TestScenario("bad_respond_nothing_pending.json")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("step 1 (respond): no host HTTP request is pending"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

// The message quoted the scenario's text raw: an ESC sequence in it reached the terminal.
TEST(Replay, RegressionAMessageQuotingTheScenarioStaysText) {
  const std::string path = testing::TempDir() + "/terminal_" + std::to_string(getpid()) + ".json";
  std::ofstream(path, std::ios::binary)
      << R"({"steps": [{"click_text": {"text": "\u001b]0;owned\u0007\u001b[2J\r\b\u009b", "at": 1}}]})";
  const ProgramRun run = RunOrdinel({"replay", path});
  EXPECT_EQ(run.exitCode, 2);
  const std::string r = "\xef\xbf\xbd";  // U+FFFD
  EXPECT_NE(run.err.find("step 1 (click_text): no text drawing contains \"" + r + "]0;owned" + r + r + "[2J" +
                         r + r + r + "\"\n"),
            std::string::npos)
      << run.err;
  std::remove(path.c_str());
}

std::string Replaced(std::string text, const std::string& path) {
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + path.size())) {
    text.replace(at, 1, path);
  }
  return text;
}

// Every reader refuses what is not a regular file before reading a byte: a FIFO kept each one
// waiting for a writer forever, and /dev/zero ended in std::bad_alloc (exit 134) for a chain and
// at the size limit for the others.
TEST(Ordinel, RegressionReadersTakeOnlyRegularFiles) {
  const std::string base = testing::TempDir() + "/readers_" + std::to_string(getpid());
  const std::string fifo = base + "_fifo";
  const std::string dir = base + "_dir";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << fifo;
  ASSERT_TRUE(std::filesystem::create_directory(dir)) << dir;
  const std::string scenario = base + "_respond.json";
  const std::string never = base + "_never";
  struct Reader {
    std::vector<std::string> args;  // '%' stands for the path
    const char* message;            // before the reason; '%' stands for the path
  };
  const Reader readers[] = {
      {{"inspect", "%"}, "ordinel inspect: cannot read %: "},
      {{"replay", "%"}, "ordinel replay: %: cannot read the file: "},
      {{"replay", scenario}, "step 2 (respond): cannot read file '%': "},
      {{"chart", "--bars", "%", "--out", never}, "ordinel chart: cannot read the bars file '%': "},
      {{"chart", "--chart-file", "%", "--out", never}, "ordinel chart: cannot read the chart file '%': "},
      {{"engine", "%"}, "ordinel engine: cannot open %: "},
      {{"chart", "--chain", "%", "--out", never}, "ordinel chart: cannot open %: "},
      {{"service", "--chain", "%"}, "ordinel service: cannot open %: "},
  };
  const std::pair<std::string, const char*> kinds[] = {{fifo, "not a regular file (a FIFO)"},
                                                       {dir, "not a regular file (a directory)"},
                                                       {"/dev/zero", "not a regular file (a device)"}};
  for (const auto& [path, reason] : kinds) {
    std::ofstream(scenario) << R"({"steps": [{"call": 1735741800}, {"respond": {"file": ")" << path
                            << R"("}}]})";
    for (const Reader& reader : readers) {
      std::vector<std::string> args;
      for (const std::string& arg : reader.args) args.push_back(Replaced(arg, path));
      const std::string message = Replaced(reader.message, path) + reason;
      running_program::Running run(args);  // killed at its end should it wait for a writer
      EXPECT_TRUE(run.AwaitExit(std::chrono::seconds(10))) << message << ": the program waited for a writer";
      EXPECT_EQ(run.ExitCode(), 2) << message << "\n" << run.Err();
      EXPECT_NE(run.Err().find(message), std::string::npos) << message << "\n" << run.Err();
      EXPECT_TRUE(run.Out().empty()) << message;
    }
  }
  std::remove(scenario.c_str());
  std::remove(fifo.c_str());
  std::filesystem::remove(dir);
}

// Standard input stays allowed, and bounded: these ended in std::bad_alloc or ate all the memory.
TEST(Ordinel, RegressionStandardInputStopsAtItsSizeLimit) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"inspect", "-"}, "ordinel inspect: cannot read standard input: larger than 16 MiB"},
      {{"engine", "-"}, "ordinel engine: cannot read standard input: larger than 64 MiB"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunOrdinel(c.args, "/dev/zero");
    EXPECT_EQ(run.exitCode, 2) << c.message << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << c.message;
  }
}

TEST(Replay, MissingStudyLibraryIsReported) {
  const ProgramRun run =
      RunOrdinel({"replay", TestScenario("only_call.json"), "--study", "/nonexistent/lib.so"});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("/nonexistent/lib.so"), std::string::npos) << run.err;
}

// A scenario of a few kilobytes asked for a report of gigabytes (5,000 dumps of a chart with
// every heatmap: 4.2 GB; 60,000 ran out of memory). The report stops at its limit: nothing is
// printed but the message naming the step that passed it.
TEST(Replay, RegressionAReportPastItsLimitIsNotPrinted) {
  std::string scenario = replay_test::Slurp(TestScenario("drawing_every_layer.json"));
  const std::string answer = "../../data/answers/extended.json";
  const size_t at = scenario.find(answer);
  ASSERT_NE(at, std::string::npos);
  scenario.replace(at, answer.size(), ORDINEL_DATA "/answers/extended.json");
  const size_t stepsEnd = scenario.rfind(']');
  ASSERT_NE(stepsEnd, std::string::npos);
  // Each dump of this chart takes about 106 KB of the report: 3,000 pass 256 MiB.
  std::string dumps;
  for (int i = 0; i < 3000; ++i) dumps += ", {\"dump\": \"again\"}";
  scenario.insert(stepsEnd, dumps);
  const std::string path = testing::TempDir() + "/many_dumps_" + std::to_string(getpid()) + ".json";
  std::ofstream(path, std::ios::binary) << scenario;
  const ProgramRun run = RunOrdinel({"replay", path});
  EXPECT_EQ(run.exitCode, 2) << run.err;
  EXPECT_TRUE(run.out.empty()) << run.out.size() << " bytes printed";
  EXPECT_EQ(run.err.rfind("ordinel replay: " + path + ": step ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(" (dump): the report would be larger than 256 MiB, the most ordinel replay prints"),
            std::string::npos)
      << run.err;
  std::remove(path.c_str());
}

}  // namespace
