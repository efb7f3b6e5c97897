#include "cli/terminal_text.h"

#include <string>

#include "text/control_characters.h"

namespace cli {

void PrintLine(std::FILE* stream, std::string_view line) {
  std::string out = text::ReplaceControlCharacters(line);
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stream);
}

}  // namespace cli
