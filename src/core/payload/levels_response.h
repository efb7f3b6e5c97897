// ParseLevelsResponse: checks the envelope of a levels answer, finds its level block and fills a
// LevelsSnapshot with identity, core levels, summaries and every optional section.
#pragma once

#include <string>
#include <string_view>

#include "json/json_node.h"
#include "payload/levels_snapshot.h"

namespace payload {

// Resets `snapshot` and fills it from the parsed answer `root`; true with `valid` set on success.
// False, with the failure message in `statusText` and `snapshot` left reset, for a non-object
// root, an envelope without "ok" and "connected" both true, or a missing or non-object level
// block. `topStrikesCount` caps the profile rows (10 when below 1).
// Requires: snapshot and statusText are not null.
bool ParseLevelsResponse(json::Node root, int topStrikesCount, LevelsSnapshot* snapshot,
                         std::string* statusText);

// A copy of `text` with every "free", blanks or tabs, "flow" (any letter case) replaced by
// "market data"; everything else copied unchanged.
std::string CleanServiceNote(std::string_view text);

}  // namespace payload
