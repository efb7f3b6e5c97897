#include "payload/section_lookup.h"

namespace payload {

json::Node RootIfObjectElseBlock(json::Node root, json::Node levelBlock, std::string_view key) {
  json::Node fromRoot = json::Member(root, key);
  if (fromRoot.IsObject()) return fromRoot;
  return json::Member(levelBlock, key);
}

json::Node BlockIfPresentElseRoot(json::Node root, json::Node levelBlock, std::string_view key) {
  json::Node fromBlock = json::Member(levelBlock, key);
  return fromBlock ? fromBlock : json::Member(root, key);
}

void ReadLevel(json::Node object, std::string_view key, OptionalLevel* out) {
  if (!object.IsObject()) return;
  double number = 0;
  if (!json::MemberNumber(object, key, &number)) return;
  out->has = true;
  out->value = number;
}

bool ReadRange(json::Node object, ZoneBand* out) {
  if (!object.IsObject()) return false;
  double low = 0;
  double high = 0;
  if (!json::MemberNumber(object, "low", &low) || !json::MemberNumber(object, "high", &high)) {
    return false;
  }
  if (high < low) return false;
  out->valid = true;
  out->low = low;
  out->high = high;
  return true;
}

}  // namespace payload
