// Reading the numbers of the lenient JSON grammar, eight digits at a time where the input
// allows. Results are exactly those of text::ParseDouble on the bytes of the number, in every
// locale: short numbers are computed exactly here, all others are left to text::ParseDouble.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/format.h"

// The reader's innermost steps, forced inline: a call per number costs more than the number.
#if defined(__GNUC__) || defined(__clang__)
#define ORDINEL_JSON_INLINE [[gnu::always_inline]] inline
#elif defined(_MSC_VER)
#define ORDINEL_JSON_INLINE __forceinline
#else
#define ORDINEL_JSON_INLINE inline
#endif

namespace json::detail {

// Integers up to 2^53 and powers of ten up to 10^22 are exact in a double, so one
// multiplication or division of the two is correctly rounded (Clinger's fast path).
inline constexpr uint64_t kMaxExactMantissa = uint64_t{1} << 53;
inline constexpr int kMaxExactPower = 22;
inline constexpr double kExactPowersOfTen[kMaxExactPower + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr uint64_t kPowersOfTenUpTo8[9] = {1,      10,      100,      1000,     10000,
                                                  100000, 1000000, 10000000, 100000000};
// A mantissa of this many digits still fits in 64 bits.
inline constexpr int kMaxMantissaDigits = 19;

inline constexpr uint64_t kEachByte(uint8_t byte) { return 0x0101010101010101ULL * byte; }

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// The number of leading decimal digits in the eight bytes of `chunk` (first byte lowest).
// A byte is a digit when its high nibble is 3 both before and after adding 6; a carry out of a
// non-digit byte only disturbs the bytes after it, which do not count.
inline int LeadingDigitCount(uint64_t chunk) {
  const uint64_t high = chunk & kEachByte(0xF0);
  const uint64_t highPlusSix = (chunk + kEachByte(0x06)) & kEachByte(0xF0);
  const uint64_t notDigit = (high ^ kEachByte(0x30)) | (highPlusSix ^ kEachByte(0x30));
  return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

// The value of the first `count` (1 to 8) digits of `chunk`: the digits move to the top bytes,
// zeros fill in before them, and three multiplications combine bytes, pairs and quads.
inline uint64_t ValueOfDigits(uint64_t chunk, int count) {
  uint64_t v = (chunk - kEachByte('0')) << (8 * (8 - count));
  v = (v * 10) + (v >> 8);
  constexpr uint64_t kByteMask = 0x000000FF000000FFULL;
  constexpr uint64_t kPairsToQuads = 100 + (1000000ULL << 32);
  constexpr uint64_t kQuadsToWhole = 1 + (10000ULL << 32);
  return (((v & kByteMask) * kPairsToQuads) + (((v >> 16) & kByteMask) * kQuadsToWhole)) >> 32;
}

// Reads the digits at `p` into *mantissa (only meaningful while *digits stays at most
// kMaxMantissaDigits) and returns the first byte after them. The end is checked once per
// eight bytes; only the last few bytes of the input are read one at a time.
ORDINEL_JSON_INLINE const char* ScanDigits(const char* p, const char* end, uint64_t* mantissa, int* digits) {
  if constexpr (std::endian::native == std::endian::little) {
    while (end - p >= 8) {
      uint64_t chunk;
      std::memcpy(&chunk, p, sizeof chunk);
      const int count = LeadingDigitCount(chunk);
      if (count == 0) return p;
      *mantissa = *mantissa * kPowersOfTenUpTo8[count] + ValueOfDigits(chunk, count);
      *digits += count;
      p += count;
      if (count < 8) return p;
    }
  }
  for (; p != end && IsDigit(*p); ++p) {
    *mantissa = *mantissa * 10 + static_cast<uint64_t>(*p - '0');
    ++*digits;
  }
  return p;
}

// A number read: one past its last byte (nullptr when there was no digit) and its value.
struct NumberRead {
  const char* end;
  double value;
};

// The slow way for numbers outside the exact fast path: long mantissas, large exponents.
inline double ParseNumberText(const char* start, const char* end) {
  double value = 0;
  text::ParseDouble(std::string_view(start, static_cast<size_t>(end - start)), &value);
  return value;
}

// Reads the number at `p` (p < end): an optional sign, digits, an optional point and digits
// (at least one digit in all), then optionally 'e' or 'E', a sign and digits (an exponent
// letter without digits is read and ignored). The value may be infinite. The sign is applied
// without a branch: in a column of mixed signs that branch would guess wrong half the time.
ORDINEL_JSON_INLINE NumberRead ReadNumber(const char* p, const char* end) {
  const char* start = p;
  const uint64_t negative = *p == '-';
  p += (*p == '-') | (*p == '+');
  uint64_t mantissa = 0;
  int digits = 0;
  p = ScanDigits(p, end, &mantissa, &digits);
  int fractionDigits = 0;
  if (p != end && *p == '.') {
    const int integerDigits = digits;
    p = ScanDigits(p + 1, end, &mantissa, &digits);
    fractionDigits = digits - integerDigits;
  }
  if (digits == 0) return {nullptr, 0};

  int64_t exponent = -fractionDigits;
  if (p != end && (*p | 0x20) == 'e') {
    ++p;
    const bool negativeExponent = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-')) ++p;
    int64_t written = 0;
    for (; p != end && IsDigit(*p); ++p) {
      if (written < 100000) written = written * 10 + (*p - '0');  // far outside the fast range
    }
    exponent += negativeExponent ? -written : written;
  }
  if (digits > kMaxMantissaDigits || mantissa > kMaxExactMantissa || exponent < -kMaxExactPower ||
      exponent > kMaxExactPower) {
    return {p, ParseNumberText(start, p)};
  }
  const double value = static_cast<double>(mantissa);
  const double scaled =
      exponent < 0 ? value / kExactPowersOfTen[-exponent] : value * kExactPowersOfTen[exponent];
  return {p, std::bit_cast<double>(std::bit_cast<uint64_t>(scaled) | (negative << 63))};
}

}  // namespace json::detail
