// How the loosely typed fields of research captures and provenance blocks read: texts, optional
// numbers and timestamps, each with one fixed rule so that every answer reads alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json/json_value.h"

namespace payload {

// A JSON string as it is (cut to the kept size), a JSON number in "%.15g" notation, anything
// else (nullptr included) as the empty text.
std::string JsonFieldText(const json::Value* value);

// MemberAsText of `key`, cut to the size the study keeps of any text it shows.
std::string ServiceText(const json::Value& object, std::string_view key);

// ServiceText with every "free"/"flow" wording replaced (CleanServiceNote), still bounded.
std::string ServiceNote(const json::Value& object, std::string_view key);

// The member `key` of `object`; nullptr when `object` is null, not an object or lacks it.
const json::Value* MemberOf(const json::Value* object, const char* key);

// JsonFieldText of the member `key` of `object`; empty when `object` is not an object.
std::string MemberFieldText(const json::Value* object, const char* key);

// The member `key` of `object` read by the number-of-a-value rule; absent when `object` is
// null, not an object, or the member is missing, mistyped or not finite.
std::optional<double> MemberOptional(const json::Value* object, const char* key);

// Epoch milliseconds of a timestamp value: a "Y-M-DTh:m:s" text read as UTC, else the value's
// number (below 1e11 taken as seconds). 0 when absent or unreadable.
double TimestampToEpochMs(const json::Value* value);

}  // namespace payload
