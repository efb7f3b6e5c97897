// printf-compatible formatting with "C"-locale results, built on std::to_chars so that the
// process locale never reaches a number.
#include "text/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace text {
namespace {

// Width and precision are clipped here: enough for any real use, and it bounds the buffers.
constexpr int kMaxFieldSize = 1 << 20;
// Digits before the point of the largest double, plus room for sign, point and exponent.
constexpr size_t kFloatHeadroom = 330;

struct Conversion {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alternate = false;
  bool zero = false;
  int width = 0;
  int precision = -1;  // -1 when not given
  char conversion = 0;
};

enum class ConversionStatus { kComplete, kUnknown, kUnfinished };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

bool SkipStar(std::string_view format, size_t* pos) {
  if (*pos >= format.size() || format[*pos] != '*') return false;
  ++*pos;
  return true;
}

int ReadCount(std::string_view format, size_t* pos) {
  int value = 0;
  while (*pos < format.size() && IsDigit(format[*pos])) {
    value = std::min(kMaxFieldSize, value * 10 + (format[*pos] - '0'));
    ++*pos;
  }
  return value;
}

// Reads the conversion that starts after the '%' at `*pos`; leaves `*pos` after its last byte.
ConversionStatus ReadConversion(std::string_view format, size_t* pos, Conversion* conv) {
  for (; *pos < format.size(); ++*pos) {
    const char c = format[*pos];
    if (c == '-')
      conv->left = true;
    else if (c == '+')
      conv->plus = true;
    else if (c == ' ')
      conv->space = true;
    else if (c == '#')
      conv->alternate = true;
    else if (c == '0')
      conv->zero = true;
    else
      break;
  }
  // '*' would need an argument of its own; such a conversion is left as written.
  bool star = SkipStar(format, pos);
  conv->width = ReadCount(format, pos);
  if (*pos < format.size() && format[*pos] == '.') {
    ++*pos;
    star = SkipStar(format, pos) || star;
    conv->precision = ReadCount(format, pos);
  }
  while (*pos < format.size() && IsOneOf(format[*pos], "hlLzjt")) ++*pos;
  if (*pos >= format.size()) return ConversionStatus::kUnfinished;
  conv->conversion = format[(*pos)++];
  if (star || !IsOneOf(conv->conversion, "diuxXocsfFeEgG%")) return ConversionStatus::kUnknown;
  return ConversionStatus::kComplete;
}

// Lays out prefix (sign, "0x") and body in the field, padding with zeros between them or
// with spaces outside.
void AppendField(const Conversion& conv, std::string_view prefix, std::string_view body, bool zeroPad,
                 std::string* out) {
  const size_t used = prefix.size() + body.size();
  const size_t pad = static_cast<size_t>(conv.width) > used ? conv.width - used : 0;
  if (conv.left) {
    out->append(prefix).append(body).append(pad, ' ');
  } else if (zeroPad) {
    out->append(prefix).append(pad, '0').append(body);
  } else {
    out->append(pad, ' ').append(prefix).append(body);
  }
}

// ---- integers -------------------------------------------------------------------------------

unsigned long long WrappedToArgumentWidth(const FormatArg& arg) {
  const auto bits = static_cast<unsigned long long>(arg.i);
  if (arg.bytes >= sizeof(unsigned long long)) return bits;
  return bits & ((1ULL << (arg.bytes * 8)) - 1);
}

void FormatInteger(const Conversion& conv, const FormatArg& arg, std::string* out) {
  const char conversion = conv.conversion;
  const bool isSigned = conversion == 'd' || conversion == 'i';
  bool negative = false;
  unsigned long long magnitude = arg.u;
  if (arg.type == FormatArg::Type::kSigned) {
    negative = isSigned && arg.i < 0;
    magnitude = !isSigned  ? WrappedToArgumentWidth(arg)
                : negative ? 0ULL - static_cast<unsigned long long>(arg.i)
                           : static_cast<unsigned long long>(arg.i);
  }
  if (conversion == 'c') {
    const char byte = static_cast<char>(static_cast<unsigned char>(magnitude));
    AppendField(conv, {}, std::string_view(&byte, 1), false, out);
    return;
  }
  const int base = conversion == 'o' ? 8 : (conversion == 'x' || conversion == 'X') ? 16 : 10;
  char digitBuffer[32];
  char* digitsEnd = std::to_chars(digitBuffer, digitBuffer + sizeof digitBuffer, magnitude, base).ptr;
  std::string_view digits(digitBuffer, digitsEnd - digitBuffer);
  if (conv.precision == 0 && magnitude == 0) digits = {};

  std::string body;
  const size_t minimumDigits = conv.precision > 0 ? static_cast<size_t>(conv.precision) : 0;
  if (digits.size() < minimumDigits) body.append(minimumDigits - digits.size(), '0');
  body.append(digits);
  if (conversion == 'X') {
    for (char& c : body) c = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (conversion == 'o' && conv.alternate && (body.empty() || body[0] != '0')) body.insert(0, 1, '0');

  std::string_view prefix;
  if (isSigned) {
    prefix = negative ? "-" : conv.plus ? "+" : conv.space ? " " : "";
  } else if (conv.alternate && magnitude != 0 && base == 16) {
    prefix = conversion == 'X' ? "0X" : "0x";
  }
  AppendField(conv, prefix, body, conv.zero && conv.precision < 0, out);
}

// ---- floating point -------------------------------------------------------------------------

std::string ToChars(double magnitude, std::chars_format style, int precision) {
  // Prices and amounts fit a stack buffer; only huge fixed-point values need the heap.
  char small[64];
  const auto fast = std::to_chars(small, small + sizeof small, magnitude, style, precision);
  if (fast.ec == std::errc()) return std::string(small, fast.ptr);
  std::string buffer(static_cast<size_t>(precision) + kFloatHeadroom, '\0');
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, style, precision);
  buffer.resize(result.ptr - buffer.data());
  return buffer;
}

int DecimalExponent(const std::string& scientific) {
  const size_t e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 2, scientific.data() + scientific.size(), exponent);
  return scientific[e + 1] == '-' ? -exponent : exponent;
}

// %g drops trailing zeros of the fraction, and the point when nothing follows it.
void StripTrailingZeros(std::string* body) {
  const size_t point = body->find('.');
  if (point == std::string::npos) return;
  size_t exponent = body->find('e');
  if (exponent == std::string::npos) exponent = body->size();
  size_t last = exponent;
  while (last > point + 1 && (*body)[last - 1] == '0') --last;
  if (last == point + 1) last = point;
  body->erase(last, exponent - last);
}

void EnsurePoint(std::string* body) {
  if (body->find('.') != std::string::npos) return;
  const size_t exponent = body->find('e');
  body->insert(exponent == std::string::npos ? body->size() : exponent, 1, '.');
}

std::string FiniteBody(const Conversion& conv, double magnitude) {
  const char style = static_cast<char>(conv.conversion | 0x20);
  const int precision = conv.precision < 0 ? 6 : conv.precision;
  std::string body;
  if (style == 'f') {
    body = ToChars(magnitude, std::chars_format::fixed, precision);
  } else if (style == 'e') {
    body = ToChars(magnitude, std::chars_format::scientific, precision);
  } else {
    const int significant = precision == 0 ? 1 : precision;
    body = ToChars(magnitude, std::chars_format::scientific, significant - 1);
    const int exponent = DecimalExponent(body);
    if (exponent < significant && exponent >= -4) {
      body = ToChars(magnitude, std::chars_format::fixed, significant - 1 - exponent);
    }
    if (!conv.alternate) StripTrailingZeros(&body);
  }
  if (conv.alternate) EnsurePoint(&body);
  return body;
}

void FormatFloat(const Conversion& conv, double value, std::string* out) {
  const bool upper = conv.conversion >= 'A' && conv.conversion <= 'Z';
  const std::string_view sign = std::signbit(value) ? "-" : conv.plus ? "+" : conv.space ? " " : "";
  std::string body;
  if (std::isnan(value)) {
    body = upper ? "NAN" : "nan";
  } else if (std::isinf(value)) {
    body = upper ? "INF" : "inf";
  } else {
    body = FiniteBody(conv, std::fabs(value));
    if (upper) {
      for (char& c : body) c = c == 'e' ? 'E' : c;
    }
  }
  AppendField(conv, sign, body, conv.zero && std::isfinite(value), out);
}

// ---- dispatch -------------------------------------------------------------------------------

void FormatOne(const Conversion& conv, const FormatArg& arg, std::string* out) {
  using Type = FormatArg::Type;
  switch (conv.conversion) {
    case 's':
      if (arg.type == Type::kText) {
        std::string_view textArg = arg.s;
        if (conv.precision >= 0) textArg = textArg.substr(0, conv.precision);
        AppendField(conv, {}, textArg, false, out);
      }
      return;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
      if (arg.type == Type::kDouble) FormatFloat(conv, arg.d, out);
      return;
    default:
      if (arg.type == Type::kSigned || arg.type == Type::kUnsigned) FormatInteger(conv, arg, out);
      return;
  }
}

}  // namespace

std::string FormatArgs(std::string_view format, const FormatArg* args, size_t count) {
  std::string out;
  out.reserve(format.size() + 16);
  size_t next = 0;
  size_t pos = 0;
  while (pos < format.size()) {
    const size_t percent = format.find('%', pos);
    out.append(format.substr(pos, percent - pos));
    if (percent == std::string_view::npos) break;
    pos = percent + 1;
    Conversion conv;
    const ConversionStatus status = ReadConversion(format, &pos, &conv);
    if (status == ConversionStatus::kUnfinished) break;
    if (status == ConversionStatus::kUnknown) {
      out.append(format.substr(percent, pos - percent));
    } else if (conv.conversion == '%') {
      out.push_back('%');
    } else if (next < count) {
      FormatOne(conv, args[next++], &out);
    } else {
      ++next;
    }
  }
  return out;
}

std::string FixedPoint(double value, int decimals) {
  constexpr double kLargestFixed = 1e15;
  if (std::fabs(value) >= kLargestFixed) return Format("%.6g", value);
  if (decimals < 0) return Format(Format("%%.%df", decimals), value);
  Conversion fixed;
  fixed.conversion = 'f';
  fixed.precision = decimals;
  std::string out;
  FormatFloat(fixed, value, &out);
  return out;
}

std::string RoundTripDouble(double value) {
  if (std::isnan(value)) return "nan";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace text
