// libFuzzer entry for the "C"-locale number routines, checked against the C library (this
// program never changes its locale): ParseDouble against strtod, Format against snprintf.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/format.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

constexpr const char* kFlags[] = {"", "#", "+", " ", "-", "0"};
constexpr const char* kLetters[] = {"f", "e", "g", "E", "G", "F"};

// The selector byte picks flag, precision and conversion.
void CompareFormat(double value, uint8_t selector) {
  const std::string flag = kFlags[selector % std::size(kFlags)];
  const std::string letter = kLetters[(selector / 6) % std::size(kLetters)];
  // glibc drops the zeros of "%#g" when rounding carries into a new exponent; skip it.
  if (flag == "#" && (letter == "g" || letter == "G")) return;
  const std::string format = "%" + flag + "12." + std::to_string(selector % 37) + letter;
  char expected[512];
  std::snprintf(expected, sizeof expected, format.c_str(), value);
  Require(text::Format(format, value) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);  // NUL-terminated copy
  char* end = nullptr;
  const double expected = std::strtod(input.c_str(), &end);
  double got = 0;
  const size_t used = text::ParseDouble(input, &got);
  Require(used == static_cast<size_t>(end - input.c_str()));
  Require(std::bit_cast<uint64_t>(got) == std::bit_cast<uint64_t>(expected));
  if (used > 0) CompareFormat(got, data[size - 1]);
  return 0;
}
