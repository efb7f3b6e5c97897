// Lookups over the JSON value tree, above all the number-of-a-value rule every payload field
// goes through.
#include <algorithm>
#include <cmath>

#include "json/json_value.h"
#include "text/format.h"

namespace json {
namespace {

// Wrapper objects carry their number under the first of these keys that is present.
constexpr const char* kNumberWrapperKeys[] = {"price", "value", "strike", "level"};

bool CanStartNumber(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// The longest numeric prefix of a string. A text like "-" or "." reads no number at all:
// it is a placeholder, not zero.
bool NumberOfText(const std::string& text, double* out) {
  if (text.empty() || !CanStartNumber(text[0])) return false;
  double number = 0;
  if (text::ParseDouble(text, &number) == 0 || !std::isfinite(number)) return false;
  *out = number;
  return true;
}

const Value* FirstPresentWrapperMember(const Value& object) {
  return FirstPresentMember(object, kNumberWrapperKeys,
                            static_cast<int>(std::size(kNumberWrapperKeys)));
}

}  // namespace

const Value* Member(const Value& object, std::string_view key) {
  if (object.kind != kObject) return nullptr;
  const size_t pairs = std::min(object.keys.size(), object.members.size());
  for (size_t i = 0; i < pairs; ++i) {
    if (object.keys[i] == key) return &object.members[i];
  }
  return nullptr;
}

bool MemberIsTrue(const Value& object, std::string_view key) {
  const Value* member = Member(object, key);
  return member != nullptr && member->kind == kBoolean && member->boolean == 1;
}

std::string MemberAsText(const Value& object, std::string_view key) {
  const Value* member = Member(object, key);
  if (member == nullptr) return {};
  if (member->kind == kString) return member->text;
  if (member->kind == kNumber) return text::Format("%g", member->number);
  return {};
}

bool NumberOfValue(const Value* value, double* out) {
  // Wrappers may nest; the tree owns its children, so the walk always ends.
  while (value != nullptr && value->kind == kObject) value = FirstPresentWrapperMember(*value);
  if (value == nullptr || out == nullptr) return false;
  if (value->kind == kString) return NumberOfText(value->text, out);
  if (value->kind != kNumber || !std::isfinite(value->number)) return false;
  *out = value->number;
  return true;
}

bool MemberNumber(const Value& object, std::string_view key, double* out) {
  return NumberOfValue(Member(object, key), out);
}

bool FirstMemberNumber(const Value& object, const char* const* keys, int count, double* out) {
  if (keys == nullptr) return false;
  for (int i = 0; i < count; ++i) {
    if (keys[i] != nullptr && MemberNumber(object, keys[i], out)) return true;
  }
  return false;
}

const Value* FirstPresentMember(const Value& object, const char* const* keys, int count) {
  if (keys == nullptr) return nullptr;
  for (int i = 0; i < count; ++i) {
    if (keys[i] == nullptr) continue;
    const Value* member = Member(object, keys[i]);
    if (member != nullptr && member->kind != kNull) return member;
  }
  return nullptr;
}

}  // namespace json
