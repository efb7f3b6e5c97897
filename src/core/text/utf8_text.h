// The program's one reading of bytes as UTF-8: where a well-formed sequence stands, and which
// bytes one U+FFFD replaces where none does (the maximal subpart, as Unicode recommends).
// The JSON writer, the renderer and the terminal printing all repair text through it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// One step through a text: `length` bytes from the current position, which are either one
// well-formed sequence (`valid`) or one maximal subpart of an ill-formed one.
struct Utf8Unit {
  size_t length = 1;
  bool valid = true;
};

// The unit at `text[at]`. Ill-formed are: bytes 0x80-0xBF alone, 0xC0, 0xC1 and 0xF5-0xFF,
// overlong forms, surrogates, values above U+10FFFF and sequences cut short; such a unit is
// the longest start of a well-formed sequence there (at least one byte).
// Requires: at < text.size().
Utf8Unit NextUtf8Unit(std::string_view text, size_t at);

// `text` with each ill-formed unit replaced by one U+FFFD; well-formed text is returned as is.
std::string ValidUtf8(std::string_view text);

}  // namespace text
