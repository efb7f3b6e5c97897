#include "cli/json_writer.h"

#include <cmath>

#include "text/format.h"

namespace cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

void AppendJsonString(std::string* out, std::string_view value) {
  out->push_back('"');
  for (char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out->push_back('\\');
      out->push_back(c);
    } else if (byte < 0x20) {
      out->append("\\u00");
      out->push_back(kHexDigits[byte >> 4]);
      out->push_back(kHexDigits[byte & 0x0F]);
    } else {
      out->push_back(c);
    }
  }
  out->push_back('"');
}

JsonWriter::JsonWriter(std::string* out) : out_(out) {}

void JsonWriter::NewLine() {
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
  out_->append(": ");
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

}  // namespace cli
