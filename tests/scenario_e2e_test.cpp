// What only a whole session through `ordinel replay` shows: the line plan the extended sample
// fills through the real study library, and the panel's view and anchor saved by the driver
// through the host's inputs. The rules behind each are pinned by the unit tests of their folders.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "json/json_document.h"
#include "replay_test_support.h"

namespace {

using replay_test::At;
using replay_test::DrawingLines;
using replay_test::DumpOf;
using replay_test::ReportOf;

constexpr int kFirstPanelLine = 71400;
constexpr int kLastPanelLine = 71499;

std::set<int> Ranges(std::initializer_list<std::pair<int, int>> ranges) {
  std::set<int> out;
  for (const auto& [first, last] : ranges) {
    for (int line = first; line <= last; ++line) out.insert(line);
  }
  return out;
}

std::set<int> ChartLines(json::Node dump) {
  std::set<int> lines;
  for (int line : DrawingLines(dump, 0, 1 << 30)) {
    if (line < kFirstPanelLine || line > kLastPanelLine) lines.insert(line);
  }
  return lines;
}

// drawing_every_layer.json switches every layer on over the extended sample.
TEST(ScenarioSessions, TheExtendedSampleFillsTheLinePlan) {
  const std::set<int> expected = Ranges({
      {71000, 71010}, {71100, 71105}, {71130, 71132}, {71134, 71134}, {71136, 71142}, {71144, 71146},
      {71200, 71209},                  // 10 top strikes (default count)
      {71500, 71504}, {71508, 71508},  // 5 vanna walls, vanna flip
      {71510, 71512}, {71516, 71516},  // 3 charm zones, charm flip
      {71518, 71521}, {71525, 71527}, {71530, 71535}, {71537, 71539}, {71541, 71547}, {71550, 71552},
      {71554, 71556}, {71558, 71558}, {71560, 71562}, {71564, 71565}, {71570, 71575},  // 3 extenders per side
      {71600, 71639},                  // 40 GEX cells, none zero
      {71650, 71689},                  // the lowest 40 of 60 charm cells
      {71700, 71739},                  // the lowest 40 of 301 delta cells
      {71850, 71852}, {71900, 71910},  // 11 profile points in 21280-21720
      {72100, 72101},
  });
  // The vanna and vega maps' lowest 40 strikes (QQQ 380-419) carry 0: nothing drawn there.
  EXPECT_EQ(ChartLines(DumpOf("drawing_every_layer.json", "loaded")), expected);
}

// Every accepted press is saved at once through the host's inputs; a new instance opening with
// the saved view is the chart file's test (tests/chart_e2e_test).
TEST(ScenarioSessions, ThePanelViewIsSavedThroughTheInputs) {
  const struct {
    const char* scenario;
    const char* dump;
    const char* state;
    int anchor;
  } cases[] = {
      {"panel_fold.json", "open", "", 0},  // nothing is written before the first press
      {"panel_corners.json", "corner3", "t1c0h0s0l0z0C0Z0", 3},
  };
  for (const auto& c : cases) {
    const json::Node dump = DumpOf(c.scenario, c.dump);
    EXPECT_EQ(At(dump, {"inputs", "Panel state (managed by the panel buttons)"}).text(), c.state)
        << c.scenario << " at " << c.dump;
    EXPECT_EQ(At(dump, {"inputs", "Panel anchor"}).number(), c.anchor) << c.scenario << " at " << c.dump;
  }
}

}  // namespace
