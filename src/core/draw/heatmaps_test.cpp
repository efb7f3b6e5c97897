#include <gtest/gtest.h>

#include "draw/draw_test_support.h"

namespace draw {
namespace {

using Lines = std::vector<std::string>;

payload::LevelsSnapshot WithCells(std::vector<payload::HeatCell> cells) {
  payload::LevelsSnapshot s;
  s.valid = true;
  s.gexCells = cells;
  s.deltaCells = std::move(cells);
  return s;
}

// A cell takes its sign's colour and fades with the square root of its strength, scaled by the
// opacity input; cells below the strength input are skipped.
TEST_F(DrawTest, HeatCellsFadeWithStrengthUnderTheOpacityAndStrengthInputs) {
  const std::vector<payload::HeatCell> gex = {
      {4990, 5000, 1}, {5000, 5010, 0.25}, {5010, 5020, -0.5}, {5020, 5030, 0}, {5030, 5040, 0.01}};
  const std::vector<payload::HeatCell> delta = {{1, 2, -1}, {2, 3, -0.25}, {3, 4, -0.95}, {4, 5, -0.949}};
  const struct {
    bool gexMap;
    const std::vector<payload::HeatCell>& cells;
    int maxOpacity, minStrength;
    Lines expected;
  } cases[] = {
      {true,
       gex,
       20,
       0,
       {"71600 rect 100-199 5000..4990 sg34 t80", "71601 rect 100-199 5010..5000 sg34 t90",
        "71602 rect 100-199 5020..5010 sg35 t86", "71604 rect 100-199 5040..5030 sg34 t98"}},
      {false,
       delta,
       60,
       0,
       {"71700 rect 100-199 2..1 sg39 t40", "71701 rect 100-199 3..2 sg39 t70",
        "71702 rect 100-199 4..3 sg39 t42", "71703 rect 100-199 5..4 sg39 t42"}},
      {false, delta, 80, 95, {"71700 rect 100-199 2..1 sg39 t40", "71702 rect 100-199 4..3 sg39 t42"}},
      {false, delta, 0, 95, {"71700 rect 100-199 2..1 sg39 t99", "71702 rect 100-199 4..3 sg39 t99"}},
  };
  for (const auto& c : cases) {
    settings.gexHeatmap = c.gexMap;
    settings.deltaMap = !c.gexMap;
    settings.heatmapMaxOpacity = c.maxOpacity;
    settings.heatmapMinStrength = c.minStrength;
    Pass(WithCells(c.cells));
    EXPECT_EQ(Rendered(), c.expected) << "opacity " << c.maxOpacity << " min " << c.minStrength;
  }
}

TEST_F(DrawTest, HeatmapDrawsOnlyTheLowestFortyCellsAtTheirOwnNumbers) {
  std::vector<payload::HeatCell> cells;
  for (int i = 0; i < 50; ++i) cells.push_back({4900.0 + i, 4901.0 + i, i == 3 ? 0.0 : 0.5});
  payload::LevelsSnapshot s;
  s.valid = true;
  s.vegaCells = cells;
  s.vannaCells = cells;
  s.charmCells = cells;
  settings.vegaMap = true;
  Pass(s);
  ASSERT_EQ(previous.size(), 39u);
  EXPECT_EQ(previous.front(), 71800);
  EXPECT_EQ(previous.back(), 71839);
  EXPECT_EQ(sc.drawings.count(71803), 0u) << "a skipped cell leaves a gap";
}

}  // namespace
}  // namespace draw
