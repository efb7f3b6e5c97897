// The study's JSON value tree and the lookups every payload reader uses. Objects keep every
// pair in document order, duplicates included; lookups take the first key, byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "json/json_kind.h"

namespace json {

// One value owning its whole subtree. Fields that do not belong to `kind` stay empty.
struct Value {
  int32_t kind = kNull;
  int32_t boolean = 0;          // kBoolean: 1 true, 0 false
  double number = 0;            // kNumber
  std::string text;             // kString: decoded UTF-8 bytes
  std::vector<Value> elements;  // kArray
  std::vector<std::string> keys;  // kObject, parallel to members
  std::vector<Value> members;     // kObject
};

// Parses the first complete value of text[0, length) into `out`; bytes after it are ignored.
// False for a null pointer, an empty text or a malformed first value (discard `out` then).
bool ParseJson(const char* text, size_t length, Value* out);
inline bool ParseJson(std::string_view text, Value* out) {
  return ParseJson(text.data(), text.size(), out);
}

// The value of the first pair whose key equals `key`; nullptr when absent or not an object.
const Value* Member(const Value& object, std::string_view key);
// True only when the member exists and is the boolean true.
bool MemberIsTrue(const Value& object, std::string_view key);
// A string member's text, a number member as "%g", an empty text otherwise.
std::string MemberAsText(const Value& object, std::string_view key);

// The number a value stands for: a finite number; a string starting with a digit, '+', '-'
// or '.' read as its longest numeric prefix ("12abc" is 12; "-" or "." alone have none); an
// object unwrapped through its first non-null "price", "value", "strike" or "level" member.
// False for everything else (nullptr included); *out is written only on true.
bool NumberOfValue(const Value* value, double* out);
// NumberOfValue of the member `key`.
bool MemberNumber(const Value& object, std::string_view key, double* out);
// The first of `keys` (in order; null entries skipped) whose member has a number.
bool FirstMemberNumber(const Value& object, const char* const* keys, int count, double* out);
inline bool FirstMemberNumber(const Value& object, std::initializer_list<const char*> keys,
                              double* out) {
  return FirstMemberNumber(object, keys.begin(), static_cast<int>(keys.size()), out);
}
// The first of `keys` whose member exists and is not null; nullptr otherwise.
const Value* FirstPresentMember(const Value& object, const char* const* keys, int count);
inline const Value* FirstPresentMember(const Value& object, std::initializer_list<const char*> keys) {
  return FirstPresentMember(object, keys.begin(), static_cast<int>(keys.size()));
}

}  // namespace json
