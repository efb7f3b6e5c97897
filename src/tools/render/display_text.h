// Text as the canvases may show it: valid UTF-8 without control characters, whatever bytes a
// drawing carried (labels come from the levels service and may hold anything).
#pragma once

#include <string>
#include <string_view>

namespace render {

// `text` with each ill-formed UTF-8 unit (text::NextUtf8Unit: overlong forms, surrogates,
// values above U+10FFFF and cut sequences included) replaced by one U+FFFD, and every control
// character (below 0x20, and 0x7F) replaced by a blank.
std::string DisplayText(std::string_view text);

// The number of code points of DisplayText(text).
size_t DisplayColumns(std::string_view text);

}  // namespace render
