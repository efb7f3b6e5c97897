// Texts from outside (a command's error output, a service's error text) reach a log line or a
// terminal only without control characters, so that they cannot move the cursor, retitle the
// window or forge lines of their own.
#pragma once

#include <string>
#include <string_view>

namespace text {

// U+FFFD REPLACEMENT CHARACTER in UTF-8: what stands where a control character was.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// `text` with every control character replaced by one U+FFFD: the C0 controls but tab (line
// breaks and escape included), DEL, and the C1 controls U+0080-U+009F in their UTF-8 form
// (0xC2 0x80-0x9F). Every other byte stays as it is, ill-formed UTF-8 included.
std::string ReplaceControlCharacters(std::string_view text);

}  // namespace text
