// Runs `ordinel chart`, the main job, on its embedded default and checks the pictures and the
// printed panel.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "replay_test_support.h"
#include "service/fault_injection.h"
#include "service/levels_service.h"

namespace {

using replay_test::ProgramRun;
using replay_test::Slurp;

// A fresh directory for one test's files.
std::string TempDirectory(const std::string& name) {
  const std::string dir = testing::TempDir() + "/ordinel_chart_" + std::to_string(getpid()) + "_" + name;
  mkdir(dir.c_str(), 0755);
  return dir;
}

// Runs `ordinel chart` with `args`.
ProgramRun RunChart(std::vector<std::string> args) {
  args.insert(args.begin(), "chart");
  return replay_test::RunOrdinel(args);
}

TEST(ChartCommand, DefaultRunWritesBothPicturesAndPrintsThePanel) {
  const std::string dir = TempDirectory("default");
  const ProgramRun run = RunChart({"--out", dir + "/x"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(dir + "/x.png").rfind("\x89PNG\r\n\x1a\n", 0), 0u) << "the size is in the Pictures line";
  EXPECT_TRUE(std::filesystem::exists(dir + "/x.svg"));
  EXPECT_NE(run.out.find("CW    21862.50"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Pictures: " + dir + "/x.png and " + dir + "/x.svg (1280x720)"), std::string::npos)
      << run.out;
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(ChartCommand, FoldedPanelSurvivesTheChartFile) {
  const std::string dir = TempDirectory("fold");
  const std::string chartFile = dir + "/chart.json";
  const ProgramRun first = RunChart({"--click", "Fold", "--chart-file", chartFile, "--out", dir + "/first.png"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_NE(Slurp(chartFile).find("\"t1c1h0s0l0z0C0Z0\""), std::string::npos) << Slurp(chartFile);

  const ProgramRun second = RunChart({"--chart-file", chartFile, "--out", dir + "/second"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("\n   Simple [Lines][Zones][Expand] Hide\n"), std::string::npos) << second.out;
  EXPECT_EQ(second.out.find("[Levels]"), std::string::npos) << "a folded panel has no tab row";
}

// Each run must end with exit 2, its message on standard error and no picture. Unreadable bars
// and chart files end the same way: tests/replay_e2e_test.
TEST(ChartCommand, FailuresExitWithTwoAndWriteNothing) {
  const std::string dir = TempDirectory("fail");
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      // The message named the sample service's address instead of the origin the study used.
      {{"--set", "API base URL=http://127.0.0.1:1"},
       "ordinel chart: cannot reach the levels service at http://127.0.0.1:1:"},
      {{"--click", "No such text anywhere"}, "ordinel chart: --click: no text on the chart contains"},
      // This origin ended with exit 0, the study's "Could not send" line on the picture and
      // nothing on standard error. The URL rules are CheckBaseUrl's; the --origin way in is
      // refused with the options (src/tools/cli/chart_options_test), as every option error exits with 2.
      {{"--set", "API base URL=file:///etc/passwd"},
       "ordinel chart: --set: input \"API base URL\" takes a service URL (blank: the study's own), got "
       "'file:///etc/passwd': it does not start with http:// or https://"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--out", dir + "/never"});
    const ProgramRun run = RunChart(args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/never.png")) << c.message;
  }
}

// Values the page refused were taken from --set and the chart file; a label with a slip in it
// was only said to be unknown; exponent prices and broken bars were charted.
TEST(ChartCommand, RegressionInputsAndBarsMeetTheirRulesBeforeAnythingRuns) {
  const std::string dir = TempDirectory("rules");
  std::ofstream(dir + "/range.json") << "{\"inputs\": {\"Refresh interval (seconds)\": 5}}";
  std::ofstream(dir + "/exponent.csv") << "open,high,low,close\n21410,21424,21400,21420\n1e3,21424,21400,21420\n";
  std::ofstream(dir + "/inverted.csv") << "open,high,low,close\n21405,21400,21410,21405\n";
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--set", "Line width=99"}, "ordinel chart: --set: input \"Line width\" takes 1 to 8, got '99'\n"},
      {{"--set", "Panel font size=100"}, "ordinel chart: --set: input \"Panel font size\" takes 6 to 24, got '100'\n"},
      {{"--set", "Line widht=3"},
       "ordinel chart: --set 'Line widht=3': the study declares no input \"Line widht\" (the nearest: "
       "\"Line width\")\n"},
      {{"--chart-file", dir + "/range.json"},
       "ordinel chart: the chart file '" + dir + "/range.json': input \"Refresh interval (seconds)\" takes 180 to "
       "3600, got '5'\n"},
      {{"--bars", dir + "/exponent.csv"},
       "ordinel chart: the bars file '" + dir + "/exponent.csv': line 3: open is not a decimal number (an exponent "
       "is not allowed): 1e3\n"},
      {{"--bars", dir + "/inverted.csv"},
       "ordinel chart: the bars file '" + dir + "/inverted.csv': line 2: high 21400 is below low 21410\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--out", dir + "/never"});
    const ProgramRun run = RunChart(args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.err, c.message);
    EXPECT_FALSE(std::filesystem::exists(dir + "/never.png")) << c.message;
  }
}

TEST(ChartCommand, ListInputsPrintsEveryInputTheStudyDeclares) {
  const ProgramRun run = RunChart({"--list-inputs"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = run.out.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(run.out.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 77u) << run.out;
  EXPECT_EQ(lines.front(), "API base URL\ttext\thttps://levels.ordinel.app\ta service URL (blank: the study's own)");
  EXPECT_EQ(lines[3], "Refresh interval (seconds)\tinteger\t180\t180 to 3600");
  EXPECT_EQ(lines[59], "Panel anchor\tchoice\tTop left\tTop left; Top right; Bottom left; Bottom right");
  EXPECT_EQ(lines[74], "Line width\tinteger\t1\t1 to 8");
  EXPECT_EQ(lines.back(), "Verbose Message Log\tyesno\tNo\tYes or No");
}

// `ordinel chart` against a sample service in this process, whose faults each test sets; the
// daily chart requests go there too, through --route.
class ChartAgainstService : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.Start(0, &error)) << error;
    dir_ = TempDirectory("service");
  }
  void SetFault(const std::string& argument) {
    std::string path;
    service::Fault fault;
    std::string error;
    ASSERT_TRUE(service::ParseFaultArgument(argument, &path, &fault, &error)) << error;
    service_.Faults().Set(path, fault);
  }
  ProgramRun Run(std::vector<std::string> args) {
    const std::string origin = service_.Origin();
    args.insert(args.begin(), {"--origin", origin, "--route", "https://query1.finance.yahoo.com=" + origin,
                               "--set", "Snapshot mode=Dynamic (live)", "--out", dir_ + "/chart"});
    return RunChart(args);
  }
  bool Served(const std::string& path) const {
    for (const auto& request : service_.Requests()) {
      if (request.target.rfind(path, 0) == 0) return true;
    }
    return false;
  }

  service::LevelsService service_{service::FixtureCatalogue{ORDINEL_SOURCE_DATA_DIR, {}}};
  std::string dir_;
};

// With --origin the VIX and QQQ requests always went to the public chart service.
TEST_F(ChartAgainstService, RegressionDailyChartRequestsFollowTheRoute) {
  const ProgramRun run = Run({"--click", "Fear"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Served("/v8/finance/chart/%5EVIX")) << "the VIX request reached the routed origin";
  EXPECT_TRUE(Served("/v8/finance/chart/QQQ")) << "the QQQ request reached the routed origin";
  EXPECT_EQ(run.err.find("no fear input"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("Realized vol 5d"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("warming up"), std::string::npos) << run.out;
}

// These ended with exit 0 and a picture saying "Starting up..." or the study's error.
TEST_F(ChartAgainstService, RegressionRunsWithoutAMapFailWithTheStudysLines) {
  struct Case {
    const char* fault;  // on the levels path; empty for none
    std::vector<std::string> args;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"levels=status=204,truncate=0", {},
       {"(its answer was empty, HTTP status 204)", "  Live levels are taking longer than usual."}},
      {"levels=truncate=0", {}, {"(its answer was empty, HTTP status 200)", "  Starting up..."}},
      {"levels=file=failure_error_and_message.json", {},
       {"the study says:\n", "  Levels unavailable (rate_limited): Too many"}},
      {"", {"--symbol", "CLZ25"},
       {"(the study sent it no request)", "  Symbol not recognised"}},
  };
  for (const Case& c : cases) {
    const std::string tag = std::string(c.fault) + (c.args.empty() ? "" : " " + c.args.back());
    if (*c.fault) SetFault(c.fault);
    std::filesystem::remove(dir_ + "/chart.png");
    const ProgramRun run = Run(c.args);
    EXPECT_EQ(run.exitCode, 2) << tag << "\n" << run.err;
    EXPECT_NE(run.err.find("ordinel chart: no levels map from " + service_.Origin()), std::string::npos)
        << tag << "\n" << run.err;
    for (const std::string& message : c.messages) {
      EXPECT_NE(run.err.find(message), std::string::npos) << tag << ": " << message << "\n" << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/chart.png")) << tag;
  }
}

}  // namespace
