#include "cli/terminal_text.h"

#include "jsonout/utf8_text.h"

namespace cli {
namespace {

// C1 controls are U+0080-U+009F: in UTF-8, 0xC2 followed by 0x80-0x9F.
bool IsControl(std::string_view unit) {
  const unsigned char lead = static_cast<unsigned char>(unit[0]);
  if (unit.size() == 1) return (lead < 0x20 && lead != '\t') || lead == 0x7F;
  return unit.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(unit[1]) <= 0x9F;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const jsonout::Utf8Unit unit = jsonout::NextUtf8Unit(text, at);
    const std::string_view bytes = text.substr(at, unit.length);
    out.append(unit.valid && !IsControl(bytes) ? bytes : jsonout::kReplacementCharacter);
    at += unit.length;
  }
  return out;
}

void PrintLine(std::FILE* stream, std::string_view line) {
  std::string out = TerminalText(line);
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stream);
}

}  // namespace cli
