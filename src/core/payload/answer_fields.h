// How the loosely typed fields of research captures and provenance blocks read: texts, optional
// numbers and timestamps, each with one fixed rule so that every answer reads alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json/json_node.h"

namespace payload {

// A JSON string as it is (cut to the kept size), a JSON number in "%.15g" notation, anything
// else (absent included) as the empty text.
std::string JsonFieldText(json::Node value);

// MemberAsText of `key`, cut to the size the study keeps of any text it shows.
std::string ServiceText(json::Node object, std::string_view key);

// ServiceText with every "free"/"flow" wording replaced (CleanServiceNote), still bounded.
std::string ServiceNote(json::Node object, std::string_view key);

// JsonFieldText of the member `key` of `object`; empty when `object` is not an object.
std::string MemberFieldText(json::Node object, const char* key);

// The member `key` of `object` read by the number-of-a-value rule; absent when `object` is
// absent, not an object, or the member is missing, mistyped or not finite.
std::optional<double> MemberOptional(json::Node object, const char* key);

// Epoch milliseconds of a timestamp value: a "Y-M-DTh:m:s" text read as UTC, else the value's
// number (below 1e11 taken as seconds). 0 when absent or unreadable.
double TimestampToEpochMs(json::Node value);

}  // namespace payload
