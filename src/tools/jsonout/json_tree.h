// An output document being built or edited before it is written: the sample service's answers
// and the sample files it stamps. Texts that are only read go through json::Document instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/json_kind.h"
#include "json/json_node.h"
#include "jsonout/json_writer.h"

namespace jsonout {

// One value owning its whole subtree. Fields that do not belong to `kind` stay empty. Objects
// keep their pairs in order, duplicates included, as the document they were copied from.
struct Tree {
  json::Kind kind = json::kNull;
  bool boolean = false;
  double number = 0;              // kNumber
  std::string text;               // kString: UTF-8 bytes
  std::vector<Tree> elements;     // kArray
  std::vector<std::string> keys;  // kObject, parallel to members
  std::vector<Tree> members;      // kObject
};

// A string value holding `text`.
Tree JsonString(std::string_view text);
// A boolean value.
Tree JsonBool(bool on);
// An empty object.
Tree JsonObject();
// A number value.
Tree JsonNumber(double number);
// An array of string values, in the order given.
Tree JsonStringArray(const std::vector<std::string>& texts);

// Makes `value` the only member named `key` of `object`: earlier pairs with that key are
// removed and the new pair is appended. Does nothing when `object` is not an object.
void SetMember(Tree* object, std::string_view key, Tree value);

// A copy of `node` and everything below it, pairs in document order; null for an absent node.
Tree CopyNode(json::Node node);

// Writes a tree as WriteJsonValue writes a parsed value: pairs in order, whole numbers below
// 2^53 without a fraction, non-finite numbers as null.
void WriteJsonValue(JsonWriter* writer, const Tree& value);

// The JSON text of a tree in `layout`.
std::string JsonText(const Tree& value, JsonWriter::Layout layout);

}  // namespace jsonout
