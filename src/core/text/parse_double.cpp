// Text-to-double reading with exactly the results of glibc's strtod in the "C" locale. The
// grammar is scanned here; std::from_chars does the correctly rounded conversion.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "text/ascii.h"
#include "text/format.h"

namespace text {
namespace {

// Far beyond any exponent that still changes the result; keeps the arithmetic in range.
constexpr int64_t kExponentCap = int64_t{1} << 40;
constexpr uint64_t kQuietNanBits = 0x7FF8000000000000ULL;
constexpr uint64_t kNanPayloadMask = 0x0007FFFFFFFFFFFFULL;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  const char lower = AsciiLower(c);
  return (lower >= 'a' && lower <= 'f') ? lower - 'a' + 10 : -1;
}
bool IsNanChar(char c) { return IsDigit(c) || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z') || c == '_'; }

bool StartsWithNoCase(std::string_view s, size_t pos, std::string_view word) {
  if (s.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (AsciiLower(s[pos + i]) != word[i]) return false;
  }
  return true;
}

// The span of a mantissa and its exponent, as far as the grammar accepts them.
struct Mantissa {
  size_t end = 0;               // one past the last byte that belongs to the number
  int64_t leadingExponent = 0;  // position of the first non-zero digit, in digits of the base
  bool allZero = true;
};

// Scans digits[.digits] in `base` (10 or 16) from `pos`; false when no digit is present.
// `leadingExponent` counts integer digits after leading zeros, or minus the zeros after the
// point when the integer part is zero.
bool ScanMantissa(std::string_view s, size_t pos, int base, Mantissa* m) {
  auto isDigit = [base](char c) { return base == 10 ? IsDigit(c) : HexValue(c) >= 0; };
  size_t digits = 0;
  int64_t significantInteger = 0;
  int64_t zerosAfterPoint = 0;
  for (; pos < s.size() && isDigit(s[pos]); ++pos, ++digits) {
    if (s[pos] != '0') m->allZero = false;
    if (!m->allZero) ++significantInteger;
  }
  if (pos < s.size() && s[pos] == '.') {
    size_t fraction = pos + 1;
    for (; fraction < s.size() && isDigit(s[fraction]); ++fraction, ++digits) {
      if (s[fraction] != '0') m->allZero = false;
      if (m->allZero) ++zerosAfterPoint;
    }
    pos = fraction;  // "5." keeps its point; a lone point fails below
  }
  if (digits == 0) return false;
  m->end = pos;
  m->leadingExponent = significantInteger > 0 ? significantInteger : -zerosAfterPoint;
  return true;
}

// Scans an exponent ("e-12", "p+3") at `pos`; without digits it is not part of the number.
void ScanExponent(std::string_view s, char letter, Mantissa* m) {
  size_t pos = m->end;
  if (pos >= s.size() || AsciiLower(s[pos]) != letter) return;
  ++pos;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
  if (pos >= s.size() || !IsDigit(s[pos])) return;
  int64_t exponent = 0;
  for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
    exponent = std::min(kExponentCap, exponent * 10 + (s[pos] - '0'));
  }
  m->end = pos;
  m->leadingExponent += negative ? -exponent : exponent;
}

// from_chars leaves the value alone when it is out of range: a too large magnitude is
// HUGE_VAL, a too small one underflows to zero, as strtod gives them.
double Convert(std::string_view digits, std::chars_format format, const Mantissa& m) {
  double value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, format);
  if (result.ec == std::errc::result_out_of_range) {
    return m.leadingExponent > 0 ? HUGE_VAL : 0.0;
  }
  return value;
}

size_t ReadDecimal(std::string_view s, size_t pos, double* magnitude) {
  Mantissa m;
  if (!ScanMantissa(s, pos, 10, &m)) return 0;
  ScanExponent(s, 'e', &m);
  *magnitude = Convert(s.substr(pos, m.end - pos), std::chars_format::general, m);
  return m.end;
}

// "0x" followed by hexadecimal digits; "0x" alone leaves the "0" to the decimal reader.
size_t ReadHex(std::string_view s, size_t pos, double* magnitude) {
  if (s.size() - pos < 3 || s[pos] != '0' || AsciiLower(s[pos + 1]) != 'x') return 0;
  Mantissa m;
  if (!ScanMantissa(s, pos + 2, 16, &m)) return 0;
  m.leadingExponent *= 4;
  ScanExponent(s, 'p', &m);
  *magnitude = Convert(s.substr(pos + 2, m.end - pos - 2), std::chars_format::hex, m);
  return m.end;
}

// glibc reads "nan(chars)" and puts the number the chars spell (as strtoull with base 0
// reads it) into the low bits of the quiet NaN.
bool NanPayload(std::string_view chars, uint64_t* payload) {
  int base = 10;
  size_t pos = 0;
  if (chars.size() >= 2 && chars[0] == '0' && AsciiLower(chars[1]) == 'x' &&
      (chars.size() == 2 || HexValue(chars[2]) >= 0)) {
    base = 16;
    pos = 2;
  } else if (!chars.empty() && chars[0] == '0') {
    base = 8;
  }
  if (base == 16 && pos == chars.size()) return false;
  uint64_t value = 0;
  bool overflow = false;
  for (; pos < chars.size(); ++pos) {
    const int digit = HexValue(chars[pos]);
    if (digit < 0 || digit >= base) return false;
    const uint64_t limit = (std::numeric_limits<uint64_t>::max() - digit) / base;
    overflow = overflow || value > limit;
    value = value * base + digit;
  }
  *payload = overflow ? std::numeric_limits<uint64_t>::max() : value;
  return true;
}

size_t ReadSpecial(std::string_view s, size_t pos, double* magnitude) {
  if (StartsWithNoCase(s, pos, "inf")) {
    *magnitude = HUGE_VAL;
    return pos + (StartsWithNoCase(s, pos + 3, "inity") ? 8 : 3);
  }
  if (!StartsWithNoCase(s, pos, "nan")) return 0;
  uint64_t bits = kQuietNanBits;
  size_t end = pos + 3;
  if (end < s.size() && s[end] == '(') {
    size_t close = end + 1;
    while (close < s.size() && IsNanChar(s[close])) ++close;
    if (close < s.size() && s[close] == ')') {
      uint64_t payload = 0;
      if (NanPayload(s.substr(end + 1, close - end - 1), &payload)) {
        bits |= payload & kNanPayloadMask;
      }
      end = close + 1;
    }
  }
  *magnitude = std::bit_cast<double>(bits);
  return end;
}

}  // namespace

size_t ParseDouble(std::string_view s, double* out) {
  size_t pos = 0;
  while (pos < s.size() && IsSpace(s[pos])) ++pos;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
  double magnitude = 0;
  size_t end = pos < s.size() ? ReadSpecial(s, pos, &magnitude) : 0;
  if (end == 0) end = ReadHex(s, pos, &magnitude);
  if (end == 0) end = ReadDecimal(s, pos, &magnitude);
  if (out != nullptr) *out = end == 0 ? 0.0 : negative ? -magnitude : magnitude;
  return end;
}

}  // namespace text
