// Building and editing the answer trees the sample service sends (written out with the
// program's JSON writer).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/json_value.h"

namespace service {

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
