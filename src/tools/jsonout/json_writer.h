// The one JSON writer of the program and the sample service (the study itself never writes
// JSON): pretty (two spaces) or compact, numbers that read back to the same double, and text
// that is valid UTF-8 whatever bytes it was given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/json_node.h"

namespace jsonout {

// Appends one JSON document to `*out`. Calls must nest properly (a Key before every value inside
// an object, none inside an array); a misplaced call still writes text but the result may not
// be valid JSON. Empty containers are written as {} and [].
class JsonWriter {
 public:
  enum class Layout { kPretty, kCompact };

  // Requires: out is not null and outlives the writer.
  explicit JsonWriter(std::string* out, Layout layout = Layout::kPretty);

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // Writes the member name of the next value inside an object.
  void Key(std::string_view key);
  void String(std::string_view value);
  // Writes the shortest text that reads back to the same double; null for inf and NaN.
  void Number(double value);
  void Int(long long value);
  void Bool(bool value);
  void Null();

 private:
  struct Frame {
    bool object = false;
    int count = 0;
  };
  void BeforeValue();
  void NewLine();
  void Open(bool object, char bracket);
  void Close(char bracket);

  std::string* out_;
  Layout layout_;
  std::vector<Frame> stack_;
  bool afterKey_ = false;
};

// Appends `value` as a quoted JSON string that is always valid UTF-8: quote and backslash
// escaped, bytes below 0x20 as \u00XX, well-formed UTF-8 copied as it is and each ill-formed
// unit (NextUtf8Unit) written as one U+FFFD.
void AppendJsonString(std::string* out, std::string_view value);

// Writes a number or a string: the parts of a pair list.
inline void WriteScalar(JsonWriter* writer, double value) { writer->Number(value); }
inline void WriteScalar(JsonWriter* writer, std::string_view value) { writer->String(value); }

// Writes `items` as a list of two-element lists [first, second], where `parts(item)` gives the
// pair (numbers or strings): request headers, strike and value series.
template <typename Items, typename Parts>
void WritePairList(JsonWriter* writer, const Items& items, Parts parts) {
  writer->BeginArray();
  for (const auto& item : items) {
    const auto [first, second] = parts(item);
    writer->BeginArray();
    WriteScalar(writer, first);
    WriteScalar(writer, second);
    writer->EndArray();
  }
  writer->EndArray();
}

// Writes a number read from a document: whole numbers from 0 up to below 2^53 as integers,
// every other number as Number does (-0 stays -0, non-finite becomes null).
void WriteReadNumber(JsonWriter* writer, double value);

// Writes a parsed value: pairs in document order (duplicates kept), numbers as WriteReadNumber;
// an absent node is written as null.
void WriteJsonValue(JsonWriter* writer, json::Node value);

// The JSON text of a parsed value in `layout`.
std::string JsonText(json::Node value, JsonWriter::Layout layout);

}  // namespace jsonout
