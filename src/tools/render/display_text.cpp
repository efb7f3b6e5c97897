#include "render/display_text.h"

#include "text/utf8_text.h"

namespace render {

std::string DisplayText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const text::Utf8Unit unit = text::NextUtf8Unit(text, i);
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (!unit.valid) {
      out += text::kReplacementCharacter;
    } else if (unit.length == 1 && (lead < 0x20 || lead == 0x7F)) {
      out += ' ';
    } else {
      out.append(text.substr(i, unit.length));
    }
    i += unit.length;
  }
  return out;
}

size_t DisplayColumns(std::string_view text) {
  size_t columns = 0;
  for (size_t i = 0; i < text.size(); i += text::NextUtf8Unit(text, i).length) ++columns;
  return columns;
}

}  // namespace render
