// Building and editing the answer trees the sample service sends.
#include "service/json_tree.h"

#include <algorithm>


namespace service {

json::Value JsonString(std::string_view text) {
  json::Value value;
  value.kind = json::kString;
  value.text = std::string(text);
  return value;
}

json::Value JsonBool(bool on) {
  json::Value value;
  value.kind = json::kBoolean;
  value.boolean = on ? 1 : 0;
  return value;
}

json::Value JsonObject() {
  json::Value value;
  value.kind = json::kObject;
  return value;
}

json::Value JsonNumber(double number) {
  json::Value value;
  value.kind = json::kNumber;
  value.number = number;
  return value;
}

json::Value JsonStringArray(const std::vector<std::string>& texts) {
  json::Value value;
  value.kind = json::kArray;
  for (const std::string& text : texts) value.elements.push_back(JsonString(text));
  return value;
}

void SetMember(json::Value* object, std::string_view key, json::Value value) {
  if (object == nullptr || object->kind != json::kObject) return;
  const size_t pairs = std::min(object->keys.size(), object->members.size());
  object->keys.resize(pairs);
  object->members.resize(pairs);
  for (size_t i = pairs; i-- > 0;) {
    if (object->keys[i] != key) continue;
    object->keys.erase(object->keys.begin() + static_cast<std::ptrdiff_t>(i));
    object->members.erase(object->members.begin() + static_cast<std::ptrdiff_t>(i));
  }
  object->keys.emplace_back(key);
  object->members.push_back(std::move(value));
}

}  // namespace service
