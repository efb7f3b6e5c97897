// The secondary Greek walls: vanna walls with intensities, charm zones and vega walls, each
// read in order and cut at its cap.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadVannaWalls(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  const json::Value* walls = json::Member(levelBlock, "vanna_walls");
  if (!IsArray(walls)) return;
  for (const json::Value& entry : walls->elements) {
    if (snapshot->vannaWallCount >= kMaxVannaWalls) break;
    if (entry.kind != json::kObject) continue;
    double strike = 0;
    if (!json::MemberNumber(entry, "strike", &strike)) continue;
    double intensity = 0;
    if (!json::MemberNumber(entry, "intensity", &intensity)) intensity = 0;
    snapshot->vannaWallStrike[snapshot->vannaWallCount] = strike;
    snapshot->vannaWallIntensity[snapshot->vannaWallCount] = intensity;
    ++snapshot->vannaWallCount;
  }
}

void ReadCharmZones(const json::Value& root, const json::Value& levelBlock,
                    LevelsSnapshot* snapshot) {
  const json::Value* zones = json::Member(root, "charm_zones");
  if (!IsArray(zones)) zones = json::Member(levelBlock, "charm_zones");
  if (!IsArray(zones)) return;
  for (const json::Value& entry : zones->elements) {
    if (snapshot->charmZoneCount >= kMaxCharmZones) break;
    ZoneBand zone;
    if (!ReadRange(&entry, &zone)) continue;
    snapshot->charmZones[snapshot->charmZoneCount++] = zone;
  }
}

void ReadVegaWalls(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  const json::Value* walls = json::Member(levelBlock, "vega_walls");
  if (!IsArray(walls)) return;
  for (const json::Value& entry : walls->elements) {
    if (snapshot->vegaWallCount >= kMaxVegaWalls) break;
    if (entry.kind != json::kObject) continue;
    double strike = 0;
    if (!json::MemberNumber(entry, "strike", &strike)) continue;
    snapshot->vegaWallStrike[snapshot->vegaWallCount++] = strike;
  }
}

}  // namespace payload
