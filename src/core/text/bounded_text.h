// Texts from outside are kept to a bounded size before the study stores them, so no answer can
// make a label or a panel line cost more than a fixed amount to keep, wrap or draw.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

inline constexpr size_t kMaxKeptTextBytes = 4096;

// `text` itself when it has at most `maxBytes` bytes; otherwise its start, cut before a UTF-8
// character (never inside one) and followed by "...", in at most `maxBytes` bytes.
// Requires: maxBytes >= 3.
std::string BoundedText(std::string_view text, size_t maxBytes = kMaxKeptTextBytes);

}  // namespace text
