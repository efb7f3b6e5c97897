// "zones": the battle zone and the upside and downside clusters.
#include <cmath>

#include "payload/answer_fields.h"
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

// Bounds closer than this are one price, not a zone.
constexpr double kMinZoneWidth = 0.000001;

}  // namespace

bool ParseZone(json::Node container, std::string_view key, std::string_view defaultLabel, ZoneBand* out) {
  json::Node zone = json::Member(container, key);
  if (!zone.IsObject()) return false;
  double first = 0;
  double second = 0;
  if (!json::FirstMemberNumber(zone, {"low", "bottom"}, &first) ||
      !json::FirstMemberNumber(zone, {"high", "top"}, &second)) {
    return false;
  }
  if (std::fabs(second - first) < kMinZoneWidth) return false;
  out->valid = true;
  out->low = std::fmin(first, second);
  out->high = std::fmax(first, second);
  out->label = ServiceText(zone, "label");
  if (out->label.empty()) out->label = std::string(defaultLabel);
  return true;
}

void ReadZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node zones = RootIfObjectElseBlock(root, levelBlock, "zones");
  if (!zones.IsObject()) return;
  ParseZone(zones, "upside_cluster", "UCL", &snapshot->upsideCluster);
  ParseZone(zones, "downside_cluster", "DCL", &snapshot->downsideCluster);
  ParseZone(zones, "battle_zone", "BZ", &snapshot->battleZone);
}

}  // namespace payload
