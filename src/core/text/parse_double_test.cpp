#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/format.h"

namespace text {
namespace {

// glibc's strtod in the "C" locale is the reference: same bytes consumed, same bits.
void ExpectLikeStrtod(const std::string& input) {
  char* end = nullptr;
  const double expected = std::strtod(input.c_str(), &end);
  const size_t expectedUsed = end - input.c_str();
#ifdef _WIN32
  // MinGW-w64's strtod parts from glibc's on texts without a number and on NaN texts.
  if (expectedUsed == 0 || std::isnan(expected)) return;
#endif
  double got = -12345;
  const size_t used = ParseDouble(input, &got);
  EXPECT_EQ(used, expectedUsed) << '"' << input << '"';
  EXPECT_EQ(std::bit_cast<uint64_t>(got), std::bit_cast<uint64_t>(expected))
      << '"' << input << "\" read " << got << ", strtod " << expected;
}

TEST(ParseDouble, MatchesStrtodOnGrammarCases) {
  const char* cases[] = {
      // no number
      "", " ", "abc", "+", "-", ".", "+.", "-.e1", "e5", "- 1", "+-1",
      "\0011",  // a control byte before a digit
      // decimal
      "1", "+1", "-1", "-0", "007", "  -1.5e3xyz", "\t\n\v\f\r 42", "1e", "1e+", "1E-", "1e-5", "1E+05", ".5",
      "5.", "5.e3", "-.5e-1", "1.5.5", "1,5", "12abc", "1e5e5", "0.000001", "123456789012345678901234567890",
      "0.1000000000000000055511151231257827", "9007199254740993", "9007199254740993.0000000001",
      "1e0000000000000000000000001",
      // limits, overflow and underflow
      "1.7976931348623157e308", "1.7976931348623158e308", "1.7976931348623159e308", "1e309", "-1e400",
      "1e99999999999999999999", "2.2250738585072011e-308", "2.2250738585072014e-308", "4.9e-324",
      "2.4703282292062328e-324", "2.4703282292062327e-324", "1e-400", "-1e-400", "1e-99999999999999999999",
      "0e99999999999", "0.0000000000000000000000000001e-300",
      "100000000000000000000000000000000000000000000000000e-380",
      "0.00000000000000000000000000000000000000000000000001e360",
      // hexadecimal
      "0x", "0x.", "0x.p1", "0xg", "0x1", "0X1P3", "0x1.8p1", "0x.8", "0x1.", "0x1p", "0x1p-", "0x1p+",
      "-0x1p-2", "0xAbCdEf", "0x1.fffffffffffffp1023", "0x1.fffffffffffff8p1023", "0x1p1024", "0x1p-1074",
      "0x1p-1075", "0x1.8p-1075", "0x1p-1076", "0x0.0000000000001p-1022", "0x1.00000000000008p0",
      "0x1.00000000000018p0", "0x123456789abcdef0123p-4", "0x1e3", "-0xz",
      // infinity and not-a-number
      "inf", "INF", "-Inf", "infinit", "infinity", "-INFINITYx", "+infinity", "in", "nan", "NaN", "-nan",
      "nan(", "nan()", "nan(123)", "nan(0x7)", "nan(0X7)", "nan(017)", "nan(08)", "nan(abc_1)", "nan(0x)",
      "nan(0xfffffffffffffffff)", "nan(99999999999999999999)", "nan(1 2)", "nAn(4)rest"};
  for (const char* input : cases) ExpectLikeStrtod(input);
}

TEST(ParseDouble, StopsAtTheEndOfTheViewAndAcceptsNullOutput) {
  double value = 0;
  EXPECT_EQ(ParseDouble(std::string_view("12345", 3), &value), 3u);
  EXPECT_EQ(value, 123.0);
  EXPECT_EQ(ParseDouble(std::string_view("0x1p4", 4), &value), 3u);  // "0x1p" -> "0x1"
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(ParseDouble(std::string_view("1\0"
                                         "5",
                                         3),
                        &value),
            1u);
  EXPECT_EQ(ParseDouble("2.5", nullptr), 3u);
  value = 9;
  EXPECT_EQ(ParseDouble("none", &value), 0u);
  EXPECT_EQ(value, 0.0);
}

}  // namespace
}  // namespace text
