// `ordinel chart --history-lines` against a levels service in this process that answers the
// live service's two history paths with canned days: the earlier bars of the day get the
// levels of /history as steps, and /history/strikes shows as a heatmap.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "replay_test_support.h"
#include "service/levels_service.h"
#include "service/service_test_support.h"

namespace {

using replay_test::ProgramRun;
using replay_test::Slurp;

// Two captures of 2025-01-02, 08:00 and 09:00 New York, inside the bundled bars' session.
const char* const kHistory = R"({"ok":true,"symbol":"NQ","day":"2025-01-02","times":[1735822800,1735826400],)"
                             R"("series":{"call_wall":[21700,21750],"put_wall":[21300,null]}})";
const char* const kStrikes =
    R"({"ok":true,"times":[1735822800,1735826400],"ratios":[41.25,41.25],)"
    R"("underlying_strikes":[525,530],"net_gex":[[1000000000,-500000000],[2000000000,-1000000000]]})";

// Lines in the SVG drawn at the history steps' opacity in `colour`.
int FaintLines(const std::string& svg, const std::string& colour) {
  const std::string mark = "stroke=\"" + colour + "\" stroke-opacity=\"0.45\"";
  int count = 0;
  for (size_t at = svg.find(mark); at != std::string::npos; at = svg.find(mark, at + 1)) ++count;
  return count;
}

class ChartHistory : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::TempDir() + "/ordinel_history_" + std::to_string(getpid());
    std::filesystem::create_directories(dir_ + "/answers");
    for (const auto& entry : std::filesystem::directory_iterator(ORDINEL_SOURCE_DATA_DIR)) {
      std::filesystem::copy_file(entry.path(), dir_ + "/answers/" + entry.path().filename().string());
    }
    std::ofstream(dir_ + "/answers/history_day.json") << kHistory;
    std::ofstream(dir_ + "/answers/history_strikes.json") << kStrikes;
    service_ = std::make_unique<service::LevelsService>(service::FixtureCatalogue{dir_ + "/answers", {}});
    std::string error;
    ASSERT_TRUE(service_->Start(0, &error)) << error;
  }
  void TearDown() override {
    service_.reset();
    std::filesystem::remove_all(dir_);
  }
  ProgramRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"chart", "--origin", service_->Origin(), "--route",
                               "https://query1.finance.yahoo.com=" + service_->Origin(), "--set",
                               "Snapshot mode=Dynamic (live)", "--out", dir_ + "/chart"});
    return replay_test::RunOrdinel(args);
  }

  std::string dir_;
  std::unique_ptr<service::LevelsService> service_;
};

TEST_F(ChartHistory, TheDaysEarlierBarsShowTheServicesLevelsAndItsStrikeHeatmap) {
  // Without history paths: the steps are the study's own (its one bar), and no heatmap.
  ProgramRun run = Run({"--history-lines"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("history of NQ on 2025-01-02: none from /history: HTTP 404; none from "
                         "/history/strikes: HTTP 404"),
            std::string::npos)
      << run.out;
  std::string svg = Slurp(dir_ + "/chart.svg");
  const int ownSteps = FaintLines(svg, "#73f0b0");
  const int ownPutSteps = FaintLines(svg, "#ff8b8b");
  EXPECT_GE(ownSteps, 1) << "the call wall the study wrote at the last bar";
  EXPECT_EQ(svg.find("fill-opacity=\"0.35\""), std::string::npos) << "no heatmap without its answer";

  service::testing::SetFault(*service_, "/history", "file=history_day.json");
  service::testing::SetFault(*service_, "/history/strikes", "file=history_strikes.json");
  run = Run({"--history-lines"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("history of NQ on 2025-01-02: 2 captures; GEX of 2 strikes at 2 times"),
            std::string::npos)
      << run.out;
  svg = Slurp(dir_ + "/chart.svg");
  // Two more call wall steps (08:00 and 09:00) and the risers between them and the study's own.
  EXPECT_GE(FaintLines(svg, "#73f0b0"), ownSteps + 2) << svg;
  EXPECT_GE(FaintLines(svg, "#ff8b8b"), ownPutSteps + 1) << "the put wall of the first capture";
  EXPECT_NE(svg.find("fill-opacity=\"0.35\""), std::string::npos) << "the strongest heatmap cell";

  // Without the option nothing of it is drawn, and nothing is asked for.
  run = Run({});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  svg = Slurp(dir_ + "/chart.svg");
  EXPECT_EQ(FaintLines(svg, "#73f0b0"), 0);
  EXPECT_EQ(svg.find("fill-opacity=\"0.35\""), std::string::npos);
  EXPECT_EQ(run.out.find("history of"), std::string::npos) << run.out;
}

}  // namespace
