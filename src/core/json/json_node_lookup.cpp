// Lookups over the document tree, above all the number-of-a-value rule every payload field
// goes through.
#include <cmath>
#include <cstring>
#include <iterator>

#include "json/json_node.h"
#include "text/format.h"

namespace json {
namespace detail {

std::string_view LongKey(const Slot& slot, const Tree& tree) {
  uint32_t length = 0;
  std::memcpy(&length, tree.arena + slot.keyOffset, sizeof length);
  return {tree.arena + slot.keyOffset + sizeof length, length};
}

}  // namespace detail

namespace {

// Wrapper objects carry their number under the first of these keys that is present.
constexpr const char* kNumberWrapperKeys[] = {"price", "value", "strike", "level"};

bool CanStartNumber(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// The longest numeric prefix of a string. A text like "-" or "." reads no number at all:
// it is a placeholder, not zero.
bool NumberOfText(std::string_view text, double* out) {
  if (text.empty() || !CanStartNumber(text[0])) return false;
  double number = 0;
  if (text::ParseDouble(text, &number) == 0 || !std::isfinite(number)) return false;
  *out = number;
  return true;
}

}  // namespace

Node Member(Node object, std::string_view key) {
  for (const Pair pair : object.Pairs()) {
    if (pair.key == key) return pair.value;
  }
  return {};
}

bool MemberIsTrue(Node object, std::string_view key) { return Member(object, key).boolean(); }

std::string MemberAsText(Node object, std::string_view key) {
  const Node member = Member(object, key);
  if (member.IsString()) return std::string(member.text());
  if (member.IsNumber()) return text::Format("%g", member.number());
  return {};
}

bool NumberOfValue(Node value, double* out) {
  // Wrappers may nest; every step goes one level down, so the walk always ends.
  while (value.IsObject()) {
    value = FirstPresentMember(value, kNumberWrapperKeys, static_cast<int>(std::size(kNumberWrapperKeys)));
  }
  if (!value || out == nullptr) return false;
  if (value.IsString()) return NumberOfText(value.text(), out);
  if (!value.IsNumber() || !std::isfinite(value.number())) return false;
  *out = value.number();
  return true;
}

bool MemberNumber(Node object, std::string_view key, double* out) {
  return NumberOfValue(Member(object, key), out);
}

bool FirstMemberNumber(Node object, const char* const* keys, int count, double* out) {
  if (keys == nullptr) return false;
  for (int i = 0; i < count; ++i) {
    if (keys[i] != nullptr && MemberNumber(object, keys[i], out)) return true;
  }
  return false;
}

Node FirstPresentMember(Node object, const char* const* keys, int count) {
  if (keys == nullptr) return {};
  for (int i = 0; i < count; ++i) {
    if (keys[i] == nullptr) continue;
    const Node member = Member(object, keys[i]);
    if (!member.IsNull()) return member;
  }
  return {};
}

}  // namespace json
