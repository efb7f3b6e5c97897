// Text as the canvases may show it: valid UTF-8 without control characters, whatever bytes a
// drawing carried (labels come from the levels service and may hold anything).
#pragma once

#include <string>
#include <string_view>

namespace render {

// `text` with every byte that does not start or continue a valid UTF-8 sequence (overlong
// forms, surrogates and values above U+10FFFF included) replaced by U+FFFD, and every control
// character (below 0x20, and 0x7F) replaced by a blank.
std::string DisplayText(std::string_view text);

// The number of code points of DisplayText(text).
size_t DisplayColumns(std::string_view text);

}  // namespace render
