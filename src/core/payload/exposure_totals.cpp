// Net GEX, net DEX and the net premium drift totals, each searched in a fixed list of places.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

// Sets `out` from the first readable of `keys` in `object`; false when `object` is not an
// object or none of the keys is readable.
bool ReadFirstOf(json::Node object, std::initializer_list<const char*> keys, OptionalLevel* out) {
  if (!object.IsObject()) return false;
  double number = 0;
  if (!json::FirstMemberNumber(object, keys, &number)) return false;
  *out = OptionalLevel{true, number};
  return true;
}

}  // namespace

void ReadNetGex(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  const auto keys = {"net_gex", "total_gex"};
  if (ReadFirstOf(levelBlock, keys, &snapshot->netGex)) return;
  if (ReadFirstOf(root, keys, &snapshot->netGex)) return;
  ReadFirstOf(json::Member(root, "raw_context_levels"), keys, &snapshot->netGex);
}

void ReadNetDex(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  const auto keys = {"net_delta_notional", "net_dex", "total_dex"};
  json::Node flow = json::Member(root, "flow");
  if (!flow) flow = json::Member(levelBlock, "flow");
  if (ReadFirstOf(flow, keys, &snapshot->netDex)) return;
  if (ReadFirstOf(levelBlock, keys, &snapshot->netDex)) return;
  ReadFirstOf(root, keys, &snapshot->netDex);
}

void ReadNetDrift(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node drift = json::Member(levelBlock, "net_drift");
  if (!drift) drift = json::Member(root, "net_drift");
  if (!drift) {
    json::Node raw = json::Member(root, "raw_context_levels");
    if (raw) drift = json::Member(raw, "net_drift");
  }
  if (!drift.IsObject()) return;
  ReadLevel(drift, "net_cum", &snapshot->netCum);
  ReadLevel(drift, "call_cum", &snapshot->callCum);
  ReadLevel(drift, "put_cum", &snapshot->putCum);
  ReadLevel(drift, "total_vol", &snapshot->totalVol);
}

}  // namespace payload
