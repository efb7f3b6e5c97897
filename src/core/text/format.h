// printf-style formatting and text-to-number reading with exactly the results of the "C"
// locale, whatever locale the host process runs under.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace text {

// One formatting argument: an integer, a floating-point number or a text. `bytes` keeps the
// width of an integer argument so that "%x" or "%u" of a negative value wraps as printf does.
struct FormatArg {
  enum class Type { kSigned, kUnsigned, kDouble, kText } type;
  long long i = 0;
  unsigned long long u = 0;
  double d = 0;
  std::string_view s;
  unsigned char bytes = sizeof(long long);

  template <typename T>
  requires std::is_integral_v<T> FormatArg(T v) : bytes(sizeof(T)) {  // NOLINT: implicit by design
    if constexpr (std::is_signed_v<T>) {
      type = Type::kSigned;
      i = v;
    } else {
      type = Type::kUnsigned;
      u = v;
    }
  }
  FormatArg(double v) : type(Type::kDouble), d(v) {}              // NOLINT
  FormatArg(float v) : type(Type::kDouble), d(v) {}               // NOLINT
  FormatArg(std::string_view v) : type(Type::kText), s(v) {}      // NOLINT
  FormatArg(const std::string& v) : type(Type::kText), s(v) {}    // NOLINT
  FormatArg(const char* v) : type(Type::kText), s(v ? v : "") {}  // NOLINT
};

// Formats like snprintf in the "C" locale. Supports flags "-+ #0", width, precision ('*' is not
// supported), length modifiers (hh, h, l, ll, L, z, j, t are accepted and ignored) and
// the conversions d i u x X o c s f F e E g G and %%. "%d" prints the value of any integer
// argument (an unsigned one is never reinterpreted as negative); u x X o print a negative one
// in two's complement at the argument's own width. A conversion whose argument is missing or
// of the wrong group (integer, floating point, text) prints nothing for that conversion; it
// never reads past `args`. An unknown conversion (or one using '*') is copied as written and
// takes no argument; an unfinished one at the end of `format` prints nothing, as in glibc.
std::string FormatArgs(std::string_view format, const FormatArg* args, size_t count);

template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
  return FormatArgs(format, list, sizeof...(Args));
}

// Reads the longest prefix of `s` that the C library's strtod accepts in the "C" locale
// (leading white space, sign, decimal or hexadecimal digits, exponent, "inf", "nan"); an
// out-of-range value gives +-HUGE_VAL or the underflowed value as strtod does. Returns the
// number of bytes consumed, 0 when there is no number (then *out is 0). `out` may be null.
size_t ParseDouble(std::string_view s, double* out);

// Shortest text that reads back to the same double ("21500.25", "1e+300", "-0"); "inf",
// "-inf" and "nan" for non-finite values.
std::string RoundTripDouble(double value);

// `value` with `decimals` digits after the point ("%.*f") while its magnitude stays below 1e15;
// beyond that, where no price or amount lies and fixed notation would run to hundreds of
// digits, in six significant digits ("%.6g": 1e+308).
std::string FixedPoint(double value, int decimals);

}  // namespace text
