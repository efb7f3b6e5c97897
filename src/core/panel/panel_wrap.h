// Word wrapping of panel text by UTF-8 code points, for a monospaced panel of a given width.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace panel {

// The pieces of `text` at most `columns` code points wide (columns clamped to 1..120): cut at
// each "\n" (an empty paragraph gives an empty piece), then at the last space before the limit,
// else hard at the limit; a multi-byte character is never split and the spaces at the start of
// every piece but a paragraph's first are dropped.
std::vector<std::string> WrapPanelText(std::string_view text, int columns);

}  // namespace panel
