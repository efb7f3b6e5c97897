// Output trees: building, editing, copying from a parsed document and writing.
#include "jsonout/json_tree.h"

#include <algorithm>
#include <utility>

namespace jsonout {

Tree JsonString(std::string_view text) {
  Tree value;
  value.kind = json::kString;
  value.text = std::string(text);
  return value;
}

Tree JsonBool(bool on) {
  Tree value;
  value.kind = json::kBoolean;
  value.boolean = on;
  return value;
}

Tree JsonObject() {
  Tree value;
  value.kind = json::kObject;
  return value;
}

Tree JsonNumber(double number) {
  Tree value;
  value.kind = json::kNumber;
  value.number = number;
  return value;
}

Tree JsonStringArray(const std::vector<std::string>& texts) {
  Tree value;
  value.kind = json::kArray;
  for (const std::string& text : texts) value.elements.push_back(JsonString(text));
  return value;
}

void SetMember(Tree* object, std::string_view key, Tree value) {
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

Tree CopyNode(json::Node node) {
  Tree copy;
  copy.kind = node.kind();
  copy.boolean = node.boolean();
  copy.number = node.number();
  copy.text = std::string(node.text());
  copy.elements.reserve(node.IsArray() ? node.size() : 0);
  for (const json::Node element : node.Elements()) copy.elements.push_back(CopyNode(element));
  copy.keys.reserve(node.IsObject() ? node.size() : 0);
  copy.members.reserve(node.IsObject() ? node.size() : 0);
  for (const json::Pair pair : node.Pairs()) {
    copy.keys.emplace_back(pair.key);
    copy.members.push_back(CopyNode(pair.value));
  }
  return copy;
}

void WriteJsonValue(JsonWriter* writer, const Tree& value) {
  switch (value.kind) {
    case json::kBoolean: writer->Bool(value.boolean); break;
    case json::kNumber: WriteReadNumber(writer, value.number); break;
    case json::kString: writer->String(value.text); break;
    case json::kArray:
      writer->BeginArray();
      for (const Tree& element : value.elements) WriteJsonValue(writer, element);
      writer->EndArray();
      break;
    case json::kObject:
      writer->BeginObject();
      for (size_t i = 0; i < value.keys.size() && i < value.members.size(); ++i) {
        writer->Key(value.keys[i]);
        WriteJsonValue(writer, value.members[i]);
      }
      writer->EndObject();
      break;
    default: writer->Null();
  }
}

std::string JsonText(const Tree& value, JsonWriter::Layout layout) {
  std::string text;
  JsonWriter writer(&text, layout);
  WriteJsonValue(&writer, value);
  return text;
}

}  // namespace jsonout
