#include "payload/section_lookup.h"

namespace payload {

bool IsObject(const json::Value* value) { return value && value->kind == json::kObject; }

bool IsArray(const json::Value* value) { return value && value->kind == json::kArray; }

const json::Value* RootIfObjectElseBlock(const json::Value& root, const json::Value& levelBlock,
                                         std::string_view key) {
  const json::Value* fromRoot = json::Member(root, key);
  if (IsObject(fromRoot)) return fromRoot;
  return json::Member(levelBlock, key);
}

const json::Value* BlockIfPresentElseRoot(const json::Value& root, const json::Value& levelBlock,
                                          std::string_view key) {
  const json::Value* fromBlock = json::Member(levelBlock, key);
  return fromBlock ? fromBlock : json::Member(root, key);
}

void ReadLevel(const json::Value* object, std::string_view key, OptionalLevel* out) {
  if (!IsObject(object)) return;
  double number = 0;
  if (!json::MemberNumber(*object, key, &number)) return;
  out->has = true;
  out->value = number;
}

bool ReadRange(const json::Value* object, ZoneBand* out) {
  if (!IsObject(object)) return false;
  double low = 0;
  double high = 0;
  if (!json::MemberNumber(*object, "low", &low) || !json::MemberNumber(*object, "high", &high)) {
    return false;
  }
  if (high < low) return false;
  out->valid = true;
  out->low = low;
  out->high = high;
  return true;
}

}  // namespace payload
