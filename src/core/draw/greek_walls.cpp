// Walls and flips of the secondary Greeks: vanna, charm, vega and OI-weighted IV.
#include <algorithm>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {
namespace {

using palette::LineNumber;

constexpr int kCharmZoneTransparency = 92;

static_assert(payload::kMaxVannaWalls <= palette::LineCount(palette::kLbVannaWalls));
static_assert(payload::kMaxCharmZones <= palette::LineCount(palette::kLbCharmZones));
static_assert(payload::kMaxVegaWalls <= palette::LineCount(palette::kLbVegaWalls));

}  // namespace

void DrawVanna(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vanna) return;
  const uint32_t count = std::min(s.vannaWallCount, payload::kMaxVannaWalls);
  for (uint32_t i = 0; i < count; ++i) {
    const int intensity = TruncateToInt(s.vannaWallIntensity[i] * 100 + 0.5);
    DrawOverlayLine(pass, LineNumber(palette::kLbVannaWalls, static_cast<int>(i)), s.vannaWallStrike[i],
                    palette::kSgVannaWall, 2, text::Format("VANNA [%d]", intensity));
  }
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbVannaFlip), s.vannaFlip, palette::kSgVannaWall, 1,
                           "VF - Vanna Flip");
}

void DrawCharm(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.charm) return;
  const uint32_t count = std::min(s.charmZoneCount, payload::kMaxCharmZones);
  for (uint32_t i = 0; i < count; ++i) {
    const payload::ZoneBand& zone = s.charmZones[i];
    if (!zone.valid) continue;
    DrawBand(pass, LineNumber(palette::kLbCharmZones, static_cast<int>(i)), zone.low, zone.high,
             SubgraphColour(pass, palette::kSgCharmZone), kCharmZoneTransparency);
  }
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbCharmFlip), s.charmFlip, palette::kSgCharmZone, 1,
                           "CF - Charm Flip");
}

void DrawIvWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.ivWalls) return;
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbIvCallWall), s.ivCallWall, palette::kSgVegaWall, 1,
                           "IV-C");
  DrawOverlayLineIfPresent(pass, LineNumber(palette::kLbIvPutWall), s.ivPutWall, palette::kSgVegaWall, 1,
                           "IV-P");
}

void DrawVegaWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vegaWalls) return;
  const uint32_t count = std::min(s.vegaWallCount, payload::kMaxVegaWalls);
  for (uint32_t i = 0; i < count; ++i) {
    DrawOverlayLine(pass, LineNumber(palette::kLbVegaWalls, static_cast<int>(i)), s.vegaWallStrike[i],
                    palette::kSgVegaWall, 2, "VEGA");
  }
}

}  // namespace draw
