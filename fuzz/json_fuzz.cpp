// libFuzzer entry for the JSON reader: any bytes parse or fail cleanly, and every lookup on
// the tree stays inside it and keeps its promises.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "json/json_value.h"
#include "text/format.h"

namespace {

constexpr const char* kProbeKeys[] = {"price", "value", "strike", "level", nullptr, "", "spot"};
constexpr int kProbeCount = static_cast<int>(std::size(kProbeKeys));

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Recursion is bounded by the parser's nesting limit.
void ExerciseValue(const json::Value& value) {
  double number = 0;
  if (json::NumberOfValue(&value, &number)) Require(std::isfinite(number));
  if (value.kind == json::kNumber && std::isfinite(value.number)) {
    const std::string written = text::RoundTripDouble(value.number);
    double back = 0;
    Require(text::ParseDouble(written, &back) == written.size() && back == value.number);
  }
  for (const json::Value& element : value.elements) ExerciseValue(element);

  Require(value.keys.size() == value.members.size());
  for (size_t i = 0; i < value.keys.size(); ++i) {
    const std::string& key = value.keys[i];
    const json::Value* first = json::Member(value, key);
    Require(first != nullptr && first <= &value.members[i]);
    json::MemberIsTrue(value, key);
    json::MemberAsText(value, key);
    json::MemberNumber(value, key, &number);
    ExerciseValue(value.members[i]);
  }
  json::FirstMemberNumber(value, kProbeKeys, kProbeCount, &number);
  json::FirstPresentMember(value, kProbeKeys, kProbeCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  json::Value root;
  if (!json::ParseJson(text, size, &root)) return 0;
  ExerciseValue(root);
  const json::Value copy = root;  // copies own their subtree
  ExerciseValue(copy);

  // ---- Further readers of a parsed answer go here (for example the levels-answer parser on
  // ---- `root`); add their libraries to json_fuzz in fuzz/CMakeLists.txt.
  return 0;
}
