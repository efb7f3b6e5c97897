// Walls and flips of the secondary Greeks: vanna, charm, vega and OI-weighted IV.
#include <algorithm>

#include "draw/chart_layers.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {
namespace {

constexpr int kVannaWallBase = 71500;
constexpr int kVannaFlipLine = 71508;
constexpr int kCharmZoneBase = 71510;
constexpr int kCharmFlipLine = 71516;
constexpr int kVegaWallBase = 71518;
constexpr int kIvCallWallLine = 72100;
constexpr int kIvPutWallLine = 72101;
constexpr int kCharmZoneTransparency = 92;

}  // namespace

void DrawVanna(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vanna) return;
  const uint32_t count = std::min(s.vannaWallCount, payload::kMaxVannaWalls);
  for (uint32_t i = 0; i < count; ++i) {
    const int intensity = TruncateToInt(s.vannaWallIntensity[i] * 100 + 0.5);
    DrawOverlayLine(pass, kVannaWallBase + static_cast<int>(i), s.vannaWallStrike[i], palette::kSgVannaWall, 2,
                    text::Format("VANNA [%d]", intensity));
  }
  DrawOverlayLineIfPresent(pass, kVannaFlipLine, s.vannaFlip, palette::kSgVannaWall, 1, "VF - Vanna Flip");
}

void DrawCharm(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.charm) return;
  const uint32_t count = std::min(s.charmZoneCount, payload::kMaxCharmZones);
  for (uint32_t i = 0; i < count; ++i) {
    const payload::ZoneBand& zone = s.charmZones[i];
    if (!zone.valid) continue;
    DrawBand(pass, kCharmZoneBase + static_cast<int>(i), zone.low, zone.high,
             SubgraphColour(pass, palette::kSgCharmZone), kCharmZoneTransparency);
  }
  DrawOverlayLineIfPresent(pass, kCharmFlipLine, s.charmFlip, palette::kSgCharmZone, 1, "CF - Charm Flip");
}

void DrawIvWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.ivWalls) return;
  DrawOverlayLineIfPresent(pass, kIvCallWallLine, s.ivCallWall, palette::kSgVegaWall, 1, "IV-C");
  DrawOverlayLineIfPresent(pass, kIvPutWallLine, s.ivPutWall, palette::kSgVegaWall, 1, "IV-P");
}

void DrawVegaWalls(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.vegaWalls) return;
  const uint32_t count = std::min(s.vegaWallCount, payload::kMaxVegaWalls);
  for (uint32_t i = 0; i < count; ++i) {
    DrawOverlayLine(pass, kVegaWallBase + static_cast<int>(i), s.vegaWallStrike[i], palette::kSgVegaWall, 2,
                    "VEGA");
  }
}

}  // namespace draw
