#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "json/json_number.h"
#include "text/format.h"

namespace json::detail {
namespace {

uint64_t Chunk(const char (&bytes)[9]) {
  uint64_t chunk;
  std::memcpy(&chunk, bytes, sizeof chunk);
  return chunk;
}

TEST(JsonNumber, EightDigitChunks) {
  if constexpr (std::endian::native != std::endian::little) GTEST_SKIP() << "read byte by byte";
  struct Case {
    const char bytes[9];
    int digits;
    uint64_t value;
  };
  const Case cases[] = {
      {"12345678", 8, 12345678},
      {"00000000", 8, 0},
      {"99999999", 8, 99999999},
      {"1234567,", 7, 1234567},
      {"9.123456", 1, 9},
      {"01e+0000", 2, 1},
      {"x1234567", 0, 0},
      {"12/45678", 2, 12},
      {"12:45678", 2, 12},
      {"7\xFF"
       "000000",
       1, 7},
      {"4\xFA"
       "999999",
       1, 4},
      {"505050 \"", 6, 505050},
  };
  for (const Case& c : cases) {
    const uint64_t chunk = Chunk(c.bytes);
    EXPECT_EQ(LeadingDigitCount(chunk), c.digits) << c.bytes;
    if (c.digits > 0) {
      EXPECT_EQ(ValueOfDigits(chunk, c.digits), c.value) << c.bytes;
    }
  }
}

// The number is copied to a block of exactly its size, so that a read past its end is caught
// by the address sanitizer.
struct Read {
  size_t consumed;  // 0 when ReadNumber refused
  double value;
};
Read ReadExact(const std::string& text) {
  auto bytes = std::make_unique<char[]>(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  const NumberRead read = ReadNumber(bytes.get(), bytes.get() + text.size());
  return {read.end == nullptr ? 0 : static_cast<size_t>(read.end - bytes.get()), read.value};
}

TEST(JsonNumber, WhereANumberEnds) {
  const std::pair<const char*, size_t> cases[] = {
      {"0", 1},
      {"-0", 2},
      {"+1", 2},
      {"12abc", 2},
      {"1.5.5", 3},
      {"1e", 2},
      {"1e+", 3},
      {"2E-", 3},
      {"1e5x", 3},
      {"5.", 2},
      {".5", 2},
      {"-.5e-3,", 6},
      {"0x10", 1},
      {"1ee5", 2},
      {"1e+-5", 3},
      {"12345678901234567890123]", 23},
      {"-", 0},
      {"+", 0},
      {".", 0},
      {"-.", 0},
      {"e5", 0},
      {".e5", 0},
      {"+e5", 0},
      {"--1", 0},
      {"1234567890123456.5e1", 20},
      {"00000000000000000000001", 23},
  };
  for (const auto& [text, consumed] : cases) EXPECT_EQ(ReadExact(text).consumed, consumed) << text;
}

// Every number is exactly what text::ParseDouble reads from the same bytes, whichever way it
// was computed; the edges are the exact path's (overflow and underflow are ParseDouble's).
TEST(JsonNumber, AgreesWithParseDoubleBitForBit) {
  const char* const edges[] = {
      "9007199254740992",
      "9007199254740993",
      "9007199254740991.5",
      "18446744073709551615",
      "18446744073709551616",
      "1234567890123456789",
      "12345678901234567890",
      "0.1",
      "0.30000000000000004",
      "123456789012345e22",
      "1e22",
      "1e23",
      "9007199254740992e-22",
      "1e-22",
      "1e-23",
      "0e999999999999",
      "1e-0000000000000000000000000000022",
      "0.000000000000000000000000000001e30",
      "100000000000000000000000e-22",
      "-0.0",
      "+0e+0",
      "21512.25",
      "-1093623552.75",
      "1.234e-05",
  };
  for (const char* edge : edges) {
    double expected = 0;
    text::ParseDouble(edge, &expected);
    const Read read = ReadExact(edge);
    EXPECT_EQ(read.consumed, std::strlen(edge)) << edge;
    EXPECT_EQ(std::bit_cast<uint64_t>(read.value), std::bit_cast<uint64_t>(expected)) << edge;
  }

  std::mt19937_64 random(7);
  for (int n = 0; n < 50000; ++n) {
    std::string number = std::to_string(random() >> (random() % 64));
    if (random() % 4 == 0) number.insert(0, std::string(random() % 20, '0'));
    if (random() % 2) number.insert(random() % (number.size() + 1), ".");
    if (random() % 3 == 0) number += "e" + std::to_string(static_cast<int>(random() % 80) - 40);
    if (random() % 3 == 0) number = (random() % 2 ? "-" : "+") + number;
    double expected = 0;
    text::ParseDouble(number, &expected);
    const Read read = ReadExact(number);
    ASSERT_EQ(read.consumed, number.size()) << number;
    ASSERT_EQ(std::bit_cast<uint64_t>(read.value), std::bit_cast<uint64_t>(expected)) << number;
  }
}

}  // namespace
}  // namespace json::detail
