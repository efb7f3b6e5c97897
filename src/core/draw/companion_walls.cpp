// Levels that accompany the core map: the NDX levels on NQ charts and the hybrid observed walls.
#include <iterator>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

using palette::LineNumber;

}  // namespace

void DrawNdxCompanionLevels(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.ndxLevels) return;
  const struct {
    const payload::OptionalLevel& level;
    const char* label;
  } rows[] = {{s.ndxCallWall, "CW-NDX"}, {s.ndxPutWall, "PW-NDX"}, {s.ndxGammaFlip, "GF-NDX"}};
  static_assert(std::size(rows) <= palette::LineCount(palette::kLbNdxLevels));
  int lineNumber = LineNumber(palette::kLbNdxLevels);
  for (const auto& row : rows) {
    if (DrawOverlayLineIfPresent(pass, lineNumber, row.level, palette::kSgNdxLevel, 1, row.label))
      ++lineNumber;
  }
}

void DrawHybridWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.hybridWalls) return;
  const int subgraph = palette::kSgHybridWall;
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbHybridCallWall), s.hybridCallWall, subgraph, 1,
                           "H-CW");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbHybridPutWall), s.hybridPutWall, subgraph, 1, "H-PW");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbHybridVolTrigger), s.hybridVolTrigger, subgraph, 1,
                           "H-VT");
}

}  // namespace draw
