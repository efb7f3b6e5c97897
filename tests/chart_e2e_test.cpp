// Runs `ordinel chart`, the main job, on its embedded default and checks the pictures and the
// printed panel.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "replay_test_support.h"
#include "service/levels_service.h"
#include "service/service_test_support.h"

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

// Runs `ordinel chart` against the levels service at `origin`, which answers the daily chart
// requests too, with the pictures at `out`.
ProgramRun RunAgainst(const std::string& origin, std::vector<std::string> args, const std::string& out) {
  args.insert(args.begin(), {"--origin", origin, "--route", "https://query1.finance.yahoo.com=" + origin,
                             "--set", "Snapshot mode=Dynamic (live)", "--out", out});
  return RunChart(args);
}

// Temporaries a write left in `dir`.
int Leftovers(const std::string& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    count += entry.path().extension() == ".tmp";
  return count;
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
  const ProgramRun first =
      RunChart({"--click", "Fold", "--chart-file", chartFile, "--out", dir + "/first.png"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_NE(Slurp(chartFile).find("\"t1c1h0s0l0z0C0Z0\""), std::string::npos) << Slurp(chartFile);

  const ProgramRun second = RunChart({"--chart-file", chartFile, "--out", dir + "/second"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("\n   Simple [Lines][Zones][Expand] Hide\n"), std::string::npos) << second.out;
  EXPECT_EQ(second.out.find("[Levels]"), std::string::npos) << "a folded panel has no tab row";
}

// Each run must end with exit 2, its message on standard error and no picture. Unreadable bars
// and chart files end the same way: tests/replay_e2e_test. One row per way a value comes in
// (--set, the chart file, the bars file); the rules themselves are pinned at their owners:
// src/tools/cli/chart_inputs_test (ranges, the nearest label) and src/tools/formats/bars_csv_test.
// Values the page refused were taken from --set and the chart file, and exponent prices charted.
TEST(ChartCommand, FailuresExitWithTwoAndWriteNothing) {
  const std::string dir = TempDirectory("fail");
  std::ofstream(dir + "/range.json") << "{\"inputs\": {\"Refresh interval (seconds)\": 5}}";
  std::ofstream(dir + "/exponent.csv")
      << "open,high,low,close\n21410,21424,21400,21420\n1e3,21424,21400,21420\n";
  const struct {
    std::vector<std::string> args;
    std::string message;
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
      {{"--set", "Line width=99"}, "ordinel chart: --set: input \"Line width\" takes 1 to 8, got '99'\n"},
      {{"--chart-file", dir + "/range.json"},
       "ordinel chart: the chart file '" + dir +
           "/range.json': input \"Refresh interval (seconds)\" takes 180 to 3600, got '5'\n"},
      {{"--bars", dir + "/exponent.csv"},
       "ordinel chart: the bars file '" + dir +
           "/exponent.csv': line 3: open is not a decimal number (an exponent is not allowed): 1e3\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--out", dir + "/never"});
    const ProgramRun run = RunChart(args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run.err;
    if (c.message.back() == '\n') {
      EXPECT_EQ(run.err, c.message) << "a whole line is all of standard error";
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/never.png")) << c.message;
  }
}

// Bars as charting tools export them (separators, a decimal comma, Date and Time columns) failed
// with "open is not a decimal number". Each export form and refusal: formats/bars_csv_test.
TEST(ChartCommand, RegressionBarsAsChartingToolsExportThem) {
  const std::string dir = TempDirectory("exports");
  std::ofstream(dir + "/semicolons.csv") << "Date;Time;Open;High;Low;Close;Volume\r\n"
                                            "12/01/2025;09:30;21500,25;21510,5;21490;21505,75;1200\r\n"
                                            "13/01/2025;09:30;21505,75;21520;21500;21515;900\r\n";
  const ProgramRun run = RunChart({"--bars", dir + "/semicolons.csv", "--out", dir + "/semicolons"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(dir + "/semicolons.png"));
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
  EXPECT_EQ(lines.front(),
            "API base URL\ttext\thttps://levels.ordinel.app\ta service URL (blank: the study's own)");
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
  ProgramRun Run(std::vector<std::string> args) {
    return RunAgainst(service_.Origin(), args, dir_ + "/chart");
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
      {"status=204,truncate=0",
       {},
       {"(its answer was empty, HTTP status 204)", "  Live levels are taking longer than usual."}},
      {"truncate=0", {}, {"(its answer was empty, HTTP status 200)", "  Starting up..."}},
      {"file=failure_error_and_message.json",
       {},
       {"the study says:\n", "  Levels unavailable (rate_limited): Too many"}},
      {"", {"--symbol", "CLZ25"}, {"(the study sent it no request)", "  Symbol not recognised"}},
  };
  for (const Case& c : cases) {
    const std::string tag = std::string(c.fault) + (c.args.empty() ? "" : " " + c.args.back());
    if (*c.fault) service::testing::SetFault(service_, "levels", c.fault);
    std::filesystem::remove(dir_ + "/chart.png");
    const ProgramRun run = Run(c.args);
    EXPECT_EQ(run.exitCode, 2) << tag << "\n" << run.err;
    EXPECT_NE(run.err.find("ordinel chart: no levels map from " + service_.Origin()), std::string::npos)
        << tag << "\n"
        << run.err;
    for (const std::string& message : c.messages) {
      EXPECT_NE(run.err.find(message), std::string::npos) << tag << ": " << message << "\n" << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/chart.png")) << tag;
  }
}

// Bytes a terminal acts on: C0 controls but line feed and tab, DEL, and C1 controls in UTF-8.
bool HasTerminalControls(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
  }
  return false;
}

// The service's texts reached the terminal raw: an error, a message or a note carrying ESC, BEL,
// CR, BS or a C1 CSI could retitle the window, clear the screen or forge the lines around it.
TEST(ChartCommand, RegressionServiceTextsCannotDriveTheTerminal) {
  const std::string hostile =
      "\x1b]0;owned\x07\x1b[2J\rforged\x08\xc2\x9b"
      "31m";
  const std::string extended = Slurp(std::string(ORDINEL_SOURCE_DATA_DIR) + "/extended.json");
  ASSERT_EQ(extended[0], '{');
  struct Case {
    const char* what;
    service::FixtureAnswer answer;
    int exitCode;
    bool onStdout;  // where the service's text is printed
  };
  service::FixtureAnswer noted;
  // The note is the panel's last row; the JSON text escapes the controls, the study unescapes them.
  noted.body = "{\"conversion_note\": \"note \\u001b]0;owned\\u0007\\u001b[2J\\rforged\\b\\u009b31m\", " +
               extended.substr(1);
  const std::vector<Case> cases = {
      {"failure envelope", service::FailureEnvelope("rate" + hostile, "Too many" + hostile), 2, false},
      {"conversion note", noted, 0, true},
  };
  const std::string dir = TempDirectory("terminal");
  for (const Case& c : cases) {
    service::LevelsService levels{service::FixtureCatalogue{
        ORDINEL_SOURCE_DATA_DIR, {}, [&c](const service::FixtureRequest&) { return c.answer; }}};
    std::string error;
    ASSERT_TRUE(levels.Start(0, &error)) << error;
    const ProgramRun run =
        RunAgainst(levels.Origin(), {"--set", "Request extended levels (extended=1)=Yes"}, dir + "/chart");
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << "\n" << run.err;
    const std::string& printed = c.onStdout ? run.out : run.err;
    const std::string r = "\xef\xbf\xbd";  // U+FFFD
    EXPECT_NE(printed.find(r + "]0;owned" + r + r + "[2J" + r + "forged" + r + r + "31m"), std::string::npos)
        << c.what << ": each control is one U+FFFD\n"
        << printed;
    EXPECT_FALSE(HasTerminalControls(run.out)) << c.what << "\n" << run.out;
    EXPECT_FALSE(HasTerminalControls(run.err)) << c.what << "\n" << run.err;
  }
}

// A chart file grew past its own limit on save (1,048,576 bytes saved as 1,052,141), and the
// next run refused it; a second "inputs" member was dropped without a word.
TEST(ChartCommand, RegressionAChartFileTheNextRunCouldNotReadIsNotWritten) {
  const std::string dir = TempDirectory("chart_file_size");
  const std::string chartFile = dir + "/chart.json";
  std::string full = "{\"inputs\": {}, \"pad\": \"\"}";
  full.insert(full.size() - 2, (size_t{1} << 20) - full.size(), 'x');
  ASSERT_EQ(full.size(), size_t{1} << 20);
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {full, "it would hold 1052"},
      {"{\"inputs\": {\"Line width\": 2}, \"inputs\": {\"Line width\": 3}}", "holds 2 \"inputs\" members"},
  };
  for (const auto& c : cases) {
    std::ofstream(chartFile, std::ios::binary) << c.text;
    const ProgramRun run = RunChart({"--chart-file", chartFile, "--out", dir + "/chart"});
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_NE(run.err.find("ordinel chart: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run.err;
    EXPECT_EQ(Slurp(chartFile), c.text) << c.message << ": the file stays as it was";
  }
}

// Saved after a run on the embedded service, the chart file held that service's passing port
// instead of the user's own levels address, came back 0644 from 0600, and a symbolic link to it
// was replaced by a plain file.
TEST(ChartCommand, RegressionTheChartFileKeepsTheUsersAddressModeAndLink) {
  const std::string dir = TempDirectory("chart_file_keep");
  const std::string target = dir + "/kept.json";
  std::ofstream(target, std::ios::binary)
      << "{\"inputs\": {\"API base URL\": \"https://levels.mine.example\"}}";
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  const ProgramRun run = RunChart({"--chart-file", target, "--click", "Fold", "--out", dir + "/chart"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string saved = Slurp(target);
  EXPECT_NE(saved.find("\"API base URL\": \"https://levels.mine.example\""), std::string::npos) << saved;
  EXPECT_EQ(saved.find("127.0.0.1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"t1c1h0s0l0z0C0Z0\""), std::string::npos) << "the run's own change is saved\n"
                                                                   << saved;
  struct stat status;
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);

  const std::string link = dir + "/chart.json";
  std::filesystem::remove(link);
  std::filesystem::create_symlink("kept.json", link);
  const ProgramRun linked =
      RunChart({"--chart-file", link, "--set", "Line width=3", "--out", dir + "/chart"});
  ASSERT_EQ(linked.exitCode, 0) << linked.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  saved = Slurp(target);
  EXPECT_NE(saved.find("\"Line width\": 3"), std::string::npos) << "written through the link\n" << saved;
  EXPECT_EQ(Leftovers(dir), 0);
}

// With pic.svg taken by a directory the run failed, but pic.png had already been replaced.
TEST(ChartCommand, RegressionPicturesAreReplacedAsAPair) {
  const std::string dir = TempDirectory("pair");
  std::ofstream(dir + "/pic.png", std::ios::binary) << "old picture";
  std::filesystem::create_directory(dir + "/pic.svg");
  const ProgramRun run = RunChart({"--out", dir + "/pic"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("ordinel chart: cannot write '" + dir + "/pic.svg'"), std::string::npos) << run.err;
  EXPECT_EQ(Slurp(dir + "/pic.png"), "old picture");
  EXPECT_EQ(Leftovers(dir), 0);
}

}  // namespace
