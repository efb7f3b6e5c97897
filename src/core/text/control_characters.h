// Texts from outside (a service's error text, a file's content, a command's error output) reach
// a terminal or a log line only without control characters, so that they cannot move the cursor,
// retitle the window or forge lines of their own.
#pragma once

#include <string>
#include <string_view>

namespace text {

// `text` with every control character and every ill-formed UTF-8 unit replaced by one U+FFFD:
// the C0 controls but tab (line breaks and escape included), DEL, and the C1 controls
// U+0080-U+009F; ill-formed units as text::NextUtf8Unit delimits them. Other text is returned
// as it is.
std::string ReplaceControlCharacters(std::string_view text);

}  // namespace text
