#include "text/control_characters.h"

namespace text {
namespace {

bool IsC0OrDelete(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

// A C1 control in UTF-8 is 0xC2 followed by 0x80-0x9F.
bool IsC1At(std::string_view text, size_t at) {
  return static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
         static_cast<unsigned char>(text[at + 1]) <= 0x9F &&
         static_cast<unsigned char>(text[at + 1]) >= 0x80;
}

}  // namespace

std::string ReplaceControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    if (IsC0OrDelete(static_cast<unsigned char>(text[at]))) {
      out += kReplacementCharacter;
    } else if (IsC1At(text, at)) {
      out += kReplacementCharacter;
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

}  // namespace text
