// JSON text of a value tree for the answers the sample service builds.
#include "service/json_text.h"

#include <algorithm>
#include <cmath>

#include "text/format.h"

namespace service {
namespace {

void AppendString(std::string_view text, std::string* out) {
  out->push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out->push_back('\\');
      out->push_back(c);
    } else if (byte < 0x20) {
      *out += text::Format("\\u%04x", static_cast<unsigned>(byte));
    } else {
      out->push_back(c);
    }
  }
  out->push_back('"');
}

void AppendValue(const json::Value& value, std::string* out) {
  switch (value.kind) {
    case json::kBoolean:
      *out += value.boolean ? "true" : "false";
      return;
    case json::kNumber:
      *out += std::isfinite(value.number) ? text::RoundTripDouble(value.number) : "null";
      return;
    case json::kString:
      AppendString(value.text, out);
      return;
    case json::kArray:
      out->push_back('[');
      for (size_t i = 0; i < value.elements.size(); ++i) {
        if (i > 0) out->push_back(',');
        AppendValue(value.elements[i], out);
      }
      out->push_back(']');
      return;
    case json::kObject: {
      out->push_back('{');
      const size_t pairs = std::min(value.keys.size(), value.members.size());
      for (size_t i = 0; i < pairs; ++i) {
        if (i > 0) out->push_back(',');
        AppendString(value.keys[i], out);
        out->push_back(':');
        AppendValue(value.members[i], out);
      }
      out->push_back('}');
      return;
    }
    default:
      *out += "null";
  }
}

}  // namespace

std::string JsonText(const json::Value& value) {
  std::string out;
  AppendValue(value, &out);
  return out;
}

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
