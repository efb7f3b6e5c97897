// Lookups shared by the section readers of a levels answer: where a section is found (root or
// level block) and how one level or one price range is read out of it.
#pragma once

#include <string_view>

#include "json/json_node.h"
#include "payload/levels_snapshot.h"

namespace payload {

// Root's member `key` when it exists and is an object, else the level block's member (any kind,
// or absent when missing).
json::Node RootIfObjectElseBlock(json::Node root, json::Node levelBlock, std::string_view key);
// The level block's member `key` when it exists at all (null included), else root's.
json::Node BlockIfPresentElseRoot(json::Node root, json::Node levelBlock, std::string_view key);

// Sets `out` from the member's number when it has one; leaves `out` untouched otherwise.
// `object` may be absent or any kind.
void ReadLevel(json::Node object, std::string_view key, OptionalLevel* out);

// Fills `out` (valid, low, high) from readable "low" and "high" with high not below low; leaves
// `out` untouched and returns false otherwise (also for an absent value or a non-object).
bool ReadRange(json::Node object, ZoneBand* out);

}  // namespace payload
