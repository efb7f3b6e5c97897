#include "text/control_characters.h"

#include "text/utf8_text.h"

namespace text {
namespace {

// One well-formed unit that is a control: C0 but tab, DEL, or C1 (0xC2 0x80-0x9F in UTF-8).
bool IsControl(std::string_view unit) {
  const unsigned char lead = static_cast<unsigned char>(unit[0]);
  if (unit.size() == 1) return (lead < 0x20 && lead != '\t') || lead == 0x7F;
  return unit.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(unit[1]) <= 0x9F;
}

}  // namespace

std::string ReplaceControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const Utf8Unit unit = NextUtf8Unit(text, at);
    const std::string_view bytes = text.substr(at, unit.length);
    out.append(unit.valid && !IsControl(bytes) ? bytes : kReplacementCharacter);
    at += unit.length;
  }
  return out;
}

}  // namespace text
