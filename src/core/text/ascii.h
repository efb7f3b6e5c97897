// Letter case and blanks of ASCII text, the same in every locale: the C library's character
// functions follow the process's locale, and these must not.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Spaces and tabs: what surrounds a field someone typed.
inline constexpr std::string_view kBlanks = " \t";

// `text` without the leading and trailing characters found in `blanks`.
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = kBlanks);

// `c` with 'A' to 'Z' turned into 'a' to 'z'; every other byte as it is. Inline: number and
// JSON readers call it per byte.
constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// `text` with every ASCII capital letter in lower case; other bytes (UTF-8 included) unchanged.
std::string AsciiLower(std::string_view text);

// `c` with 'a' to 'z' turned into 'A' to 'Z'; every other byte as it is.
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// `text` with every ASCII small letter in upper case; other bytes (UTF-8 included) unchanged.
std::string AsciiUpper(std::string_view text);

// True when `a` and `b` differ at most in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace text
