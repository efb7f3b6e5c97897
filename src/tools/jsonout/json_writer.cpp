#include "jsonout/json_writer.h"

#include <cmath>

#include "text/utf8_text.h"
#include "text/format.h"

namespace jsonout {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// Largest magnitude below which every whole double is exact.
constexpr double kExactIntegers = 9007199254740992.0;

}  // namespace

void AppendJsonString(std::string* out, std::string_view value) {
  out->push_back('"');
  for (size_t at = 0; at < value.size();) {
    const text::Utf8Unit unit = text::NextUtf8Unit(value, at);
    const char c = value[at];
    const unsigned char byte = static_cast<unsigned char>(c);
    if (!unit.valid) {
      out->append(text::kReplacementCharacter);
    } else if (unit.length > 1) {
      out->append(value.substr(at, unit.length));
    } else if (c == '"' || c == '\\') {
      out->push_back('\\');
      out->push_back(c);
    } else if (byte < 0x20) {
      out->append("\\u00");
      out->push_back(kHexDigits[byte >> 4]);
      out->push_back(kHexDigits[byte & 0x0F]);
    } else {
      out->push_back(c);
    }
    at += unit.length;
  }
  out->push_back('"');
}

JsonWriter::JsonWriter(std::string* out, Layout layout) : out_(out), layout_(layout) {}

void JsonWriter::NewLine() {
  if (layout_ == Layout::kCompact) return;
  out_->push_back('\n');
  out_->append(stack_.size() * 2, ' ');
}

// Inside an array every value starts a new line; after a Key the value follows on its line.
void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (stack_.empty()) return;
  Frame& frame = stack_.back();
  if (frame.count > 0) out_->push_back(',');
  ++frame.count;
  NewLine();
}

void JsonWriter::Open(bool object, char bracket) {
  BeforeValue();
  out_->push_back(bracket);
  stack_.push_back(Frame{object, 0});
}

void JsonWriter::Close(char bracket) {
  afterKey_ = false;
  const bool hadMembers = !stack_.empty() && stack_.back().count > 0;
  if (!stack_.empty()) stack_.pop_back();
  if (hadMembers) NewLine();
  out_->push_back(bracket);
}

void JsonWriter::BeginObject() { Open(true, '{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open(false, '['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  AppendJsonString(out_, key);
  out_->append(layout_ == Layout::kCompact ? ":" : ": ");
  afterKey_ = true;
}

void JsonWriter::String(std::string_view value) {
  BeforeValue();
  AppendJsonString(out_, value);
}

void JsonWriter::Number(double value) {
  BeforeValue();
  out_->append(std::isfinite(value) ? text::RoundTripDouble(value) : std::string("null"));
}

void JsonWriter::Int(long long value) {
  BeforeValue();
  out_->append(text::Format("%lld", value));
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_->append(value ? "true" : "false");
}

void JsonWriter::Null() {
  BeforeValue();
  out_->append("null");
}

void WriteReadNumber(JsonWriter* writer, double value) {
  if (value == std::floor(value) && std::fabs(value) < kExactIntegers && !std::signbit(value)) {
    writer->Int(static_cast<long long>(value));
  } else {
    writer->Number(value);
  }
}

void WriteJsonValue(JsonWriter* writer, json::Node value) {
  switch (value.kind()) {
    case json::kBoolean: writer->Bool(value.boolean()); break;
    case json::kNumber: WriteReadNumber(writer, value.number()); break;
    case json::kString: writer->String(value.text()); break;
    case json::kArray:
      writer->BeginArray();
      for (const json::Node element : value.Elements()) WriteJsonValue(writer, element);
      writer->EndArray();
      break;
    case json::kObject:
      writer->BeginObject();
      for (const json::Pair pair : value.Pairs()) {
        writer->Key(pair.key);
        WriteJsonValue(writer, pair.value);
      }
      writer->EndObject();
      break;
    default: writer->Null();
  }
}

std::string JsonText(json::Node value, JsonWriter::Layout layout) {
  std::string text;
  JsonWriter writer(&text, layout);
  WriteJsonValue(&writer, value);
  return text;
}

}  // namespace jsonout
