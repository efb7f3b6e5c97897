// Levels that accompany the core map: the NDX levels on NQ charts and the hybrid observed walls.
#include "draw/chart_layers.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

constexpr int kNdxLineBase = 71144;
constexpr int kHybridCallWallLine = 71525;
constexpr int kHybridPutWallLine = 71526;
constexpr int kHybridVolTriggerLine = 71527;

}  // namespace

void DrawNdxCompanionLevels(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.ndxLevels) return;
  const struct {
    const payload::OptionalLevel& level;
    const char* label;
  } rows[] = {{s.ndxCallWall, "CW-NDX"}, {s.ndxPutWall, "PW-NDX"}, {s.ndxGammaFlip, "GF-NDX"}};
  int lineNumber = kNdxLineBase;
  for (const auto& row : rows) {
    if (DrawOverlayLineIfPresent(pass, lineNumber, row.level, palette::kSgNdxLevel, 1, row.label)) ++lineNumber;
  }
}

void DrawHybridWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.hybridWalls) return;
  DrawOverlayLineIfPresent(pass, kHybridCallWallLine, s.hybridCallWall, palette::kSgHybridWall, 1, "H-CW");
  DrawOverlayLineIfPresent(pass, kHybridPutWallLine, s.hybridPutWall, palette::kSgHybridWall, 1, "H-PW");
  DrawOverlayLineIfPresent(pass, kHybridVolTriggerLine, s.hybridVolTrigger, palette::kSgHybridWall, 1, "H-VT");
}

}  // namespace draw
