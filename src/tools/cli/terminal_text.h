// What the program prints on a terminal: texts that came from a service, a file or the study
// cannot move the cursor, retitle the window or forge lines once they pass through here.
#pragma once

#include <cstdio>
#include <string_view>

namespace cli {

// Writes `line` with its control characters and ill-formed UTF-8 replaced
// (text::ReplaceControlCharacters) and a line feed to `stream`.
void PrintLine(std::FILE* stream, std::string_view line);

}  // namespace cli
