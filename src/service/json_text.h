// JSON text of a value tree, for the answers the sample service builds or rewrites: compact,
// keys in tree order, numbers that read back to the same double.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/json_value.h"

namespace service {

// The compact JSON text of `value`; a non-finite number is written as null, string bytes are
// copied as they are except the quote, the backslash and control bytes, which are escaped.
std::string JsonText(const json::Value& value);

// A string value holding `text`.
json::Value JsonString(std::string_view text);
// A boolean value.
json::Value JsonBool(bool on);
// An empty object.
json::Value JsonObject();
// A number value.
json::Value JsonNumber(double number);
// An array of string values, in the order given.
json::Value JsonStringArray(const std::vector<std::string>& texts);

// Makes `value` the only member named `key` of `object`: earlier pairs with that key are
// removed and the new pair is appended. Does nothing when `object` is not an object.
void SetMember(json::Value* object, std::string_view key, json::Value value);

}  // namespace service
