// Lookups shared by the section readers of a levels answer: where a section is found (root or
// level block) and how one level or one price range is read out of it.
#pragma once

#include <string_view>

#include "json/json_value.h"
#include "payload/levels_snapshot.h"

namespace payload {

// True when `value` is not null and is a JSON object.
bool IsObject(const json::Value* value);
// True when `value` is not null and is a JSON array.
bool IsArray(const json::Value* value);

// Root's member `key` when it exists and is an object, else the level block's member (any kind,
// or nullptr when missing).
const json::Value* RootIfObjectElseBlock(const json::Value& root, const json::Value& levelBlock,
                                         std::string_view key);
// The level block's member `key` when it exists at all (null included), else root's.
const json::Value* BlockIfPresentElseRoot(const json::Value& root, const json::Value& levelBlock,
                                          std::string_view key);

// Sets `out` from the member's number when it has one; leaves `out` untouched otherwise.
// `object` may be null or any kind.
void ReadLevel(const json::Value* object, std::string_view key, OptionalLevel* out);

// Fills `out` (valid, low, high) from readable "low" and "high" with high not below low; leaves
// `out` untouched and returns false otherwise (also for null or a non-object).
bool ReadRange(const json::Value* object, ZoneBand* out);

}  // namespace payload
