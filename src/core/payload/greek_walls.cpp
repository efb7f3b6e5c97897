// The secondary Greek walls: vanna walls with intensities, charm zones and vega walls, each
// read in order and cut at its cap.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadVannaWalls(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node walls = json::Member(levelBlock, "vanna_walls");
  if (!walls.IsArray()) return;
  for (const json::Node entry : walls.Elements()) {
    if (snapshot->vannaWallCount >= kMaxVannaWalls) break;
    if (!entry.IsObject()) continue;
    double strike = 0;
    if (!json::MemberNumber(entry, "strike", &strike)) continue;
    double intensity = 0;
    if (!json::MemberNumber(entry, "intensity", &intensity)) intensity = 0;
    snapshot->vannaWallStrike[snapshot->vannaWallCount] = strike;
    snapshot->vannaWallIntensity[snapshot->vannaWallCount] = intensity;
    ++snapshot->vannaWallCount;
  }
}

void ReadCharmZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node zones = json::Member(root, "charm_zones");
  if (!zones.IsArray()) zones = json::Member(levelBlock, "charm_zones");
  if (!zones.IsArray()) return;
  for (const json::Node entry : zones.Elements()) {
    if (snapshot->charmZoneCount >= kMaxCharmZones) break;
    ZoneBand zone;
    if (!ReadRange(entry, &zone)) continue;
    snapshot->charmZones[snapshot->charmZoneCount++] = zone;
  }
}

void ReadVegaWalls(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node walls = json::Member(levelBlock, "vega_walls");
  if (!walls.IsArray()) return;
  for (const json::Node entry : walls.Elements()) {
    if (snapshot->vegaWallCount >= kMaxVegaWalls) break;
    if (!entry.IsObject()) continue;
    double strike = 0;
    if (!json::MemberNumber(entry, "strike", &strike)) continue;
    snapshot->vegaWallStrike[snapshot->vegaWallCount++] = strike;
  }
}

}  // namespace payload
