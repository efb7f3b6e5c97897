// What the program prints on a terminal: texts that came from a service, a file or the study
// cannot move the cursor, retitle the window or forge lines once they pass through here.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

// `text` with every control character (C0 but tab, DEL, and C1 as U+0080-U+009F) and every
// ill-formed UTF-8 unit replaced by one U+FFFD; other text is returned as it is.
std::string TerminalText(std::string_view text);

// Writes TerminalText(line) and a line feed to `stream`.
void PrintLine(std::FILE* stream, std::string_view line);

}  // namespace cli
