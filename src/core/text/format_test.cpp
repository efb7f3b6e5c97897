#include "text/format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "text/test_locale.h"

namespace text {
namespace {

// The C library in the "C" locale is the reference these routines must agree with.
template <typename... Args>
std::string Printf(const std::string& format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format.c_str(), args...);
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), format.c_str(), args...);
  out.resize(static_cast<size_t>(size));
  return out;
}

// On Windows the C runtime (MinGW-w64's) parts from glibc in a few corner cases only the glibc
// runs check: "%#.0o" of zero, the sign of a negative NaN, a flag after the precision.
#ifdef _WIN32
constexpr bool kReferenceIsGlibc = false;
#else
constexpr bool kReferenceIsGlibc = true;
#endif

bool ReferenceHolds(const std::string& format, double value) {
  if (kReferenceIsGlibc) return true;
  const bool octalZeroPrecision = format.find("#.0") != std::string::npos && format.back() == 'o';
  const size_t flag = format.find('#');
  const size_t point = format.find('.');
  const bool flagAfterPrecision = flag != std::string::npos && point != std::string::npos && flag > point;
  return !(octalZeroPrecision && value == 0) && !(std::isnan(value) && std::signbit(value)) &&
         !flagAfterPrecision;
}

// Inserts a length modifier before the conversion letter ("%5d" -> "%5lld").
std::string WithLength(const std::string& format, const char* length) {
  return format.substr(0, format.size() - 1) + length + format.back();
}

const std::vector<std::string> kIntegerFormats = {
    "%d",    "%i",      "%5d",    "%-5d",  "%05d", "%+d",  "% d",  "%+ d",  "%.3d",  "%.0d",  "%5.0d",
    "%8.3d", "%-+8.3d", "%08.3d", "%u",    "%+u",  "%x",   "%X",   "%#x",   "%#X",   "%#08x", "%#.3x",
    "%-#8x", "%o",      "%#o",    "%#.0o", "%.0o", "%#5o", "%.3o", "%#.3o", "%-05d", "%1d"};

TEST(Format, IntegersMatchPrintf) {
  const int ints[] = {0, 1, -1, 7, 42, -42, 255, 4096, INT_MAX, INT_MIN};
  const long long longs[] = {0, -1, 1LL << 40, -(1LL << 40), LLONG_MAX, LLONG_MIN};
  const unsigned unsigneds[] = {0u, 1u, 0x80000000u, UINT_MAX};
  for (const std::string& f : kIntegerFormats) {
    for (int v : ints) {
      if (!ReferenceHolds(f, v)) continue;
      EXPECT_EQ(Format(f, v), Printf(f, v)) << f << " of " << v;
    }
    for (long long v : longs) {
      const std::string ll = WithLength(f, "ll");
      if (!ReferenceHolds(ll, v)) continue;
      EXPECT_EQ(Format(ll, v), Printf(ll, v)) << ll << " of " << v;
    }
    for (unsigned v : unsigneds) {
      if (f.back() == 'd' || f.back() == 'i') continue;  // printf would reinterpret them
      if (!ReferenceHolds(f, v)) continue;
      EXPECT_EQ(Format(f, v), Printf(f, v)) << f << " of " << v << "u";
    }
  }
  const short minusOne = -1;
  EXPECT_EQ(Format("%hx", minusOne), Printf("%hx", minusOne));
  EXPECT_EQ(Format("%hu", minusOne), Printf("%hu", minusOne));
}

TEST(Format, CharactersAndTextsMatchPrintf) {
  for (const char* f : {"%c", "%3c", "%-3c|", "%05c"}) {
    EXPECT_EQ(Format(f, 'A'), Printf(f, 'A')) << f;
  }
  for (const char* f : {"%s", "%10s", "%-10s|", "%.2s", "%5.1s", "%.0s", "%.10s", "%05s"}) {
    EXPECT_EQ(Format(f, "hello"), Printf(f, "hello")) << f;
  }
  EXPECT_EQ(Format("x=%d y=%s z=%.2f%%", 3, std::string("ab"), 0.125), "x=3 y=ab z=0.12%");
  EXPECT_EQ(Format("100%% %5%|"), "100% %|");  // glibc ignores the width of "%%" too
}

const std::vector<std::string> kFloatFormats = {
    "%f",   "%.0f",  "%.1f",  "%.2f",  "%#.0f",  "%10.3f", "%-10.3f|",   "%010.3f",  "%+f",    "% f",
    "%F",   "%.20f", "%e",    "%.0e",  "%#.0e",  "%E",     "%.10e",      "%+.3e",    "%12.4e", "%g",
    "%.0g", "%.1g",  "%.3g",  "%#g",   "%#.3g",  "%#.0g",  "%G",         "%10g",     "%-10g|", "%010g",
    "%+g",  "% g",   "%.17g", "%.30g", "%#.17G", "%.40e",  "%-+012.5f|", "%0+10.2f", "%#10.0f"};

TEST(Format, FloatingPointMatchesPrintf) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const double values[] = {
      0.0,  -0.0,  1.0,          -1.0,      0.5,      1.5,      2.5,      -2.5,      0.125,    0.1,  1.0 / 3,
      1e-5, 1e-4,  0.0001234567, 9.9999995, 99999.95, 999999.5, 123456.0, 1234567.0, 21500.25, 1e15, 1e16,
      1e22, 1e100, -1e300,       DBL_MAX,   DBL_MIN,  5e-324,   HUGE_VAL, -HUGE_VAL, kNan,     -kNan};
  for (const std::string& f : kFloatFormats) {
    for (double v : values) {
      if (f == "%#g" && v == 999999.5) continue;  // glibc 2.36 drops the zeros here, below
      if (!ReferenceHolds(f, v)) continue;
      EXPECT_EQ(Format(f, v), Printf(f, v)) << f << " of " << v;
    }
  }
  // '#' keeps trailing zeros also when rounding carries into a new exponent; glibc 2.36
  // prints "1.e+06" for the first, unlike for the second.
  EXPECT_EQ(Format("%#g", 999999.5), "1.00000e+06");
  EXPECT_EQ(Format("%#g", 9999995.0), "1.00000e+07");
  EXPECT_EQ(Format("%.3f", 2.5f), "2.500");
}

TEST(Format, ArgumentsThatPrintfCannotTakePrintNothing) {
  struct Case {
    std::string got;
    const char* expected;
  };
  const Case cases[] = {
      {Format("%d and %d", 1), "1 and "},
      {Format("[%5d]", 1.5), "[]"},
      {Format("[%f]", 2), "[]"},
      {Format("[%s]", 5), "[]"},
      {Format("[%d]", "text"), "[]"},
      {Format("%s|%d", 7, 8), "|8"},
      {Format("[%y]", 1), "[%y]"},
      {Format("[%*d]%d", 4, 5), "[%*d]4"},
      {Format("[%.*f]", 2, 0.5), "[%.*f]"},
      {Format("abc%", 1), "abc"},
      {Format("abc%5l", 1), "abc"},
      {Format("%d", 4000000000u), "4000000000"},
      {Format("%llu", ~0ULL), "18446744073709551615"},
      {Format("%d", true), "1"},
      {Format("%s", static_cast<const char*>(nullptr)), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
  EXPECT_EQ(Format(std::string_view("a\0%d", 4), 5), std::string("a\0"
                                                                 "5",
                                                                 3));
}

// Reading such texts back to the same bits is checked on arbitrary values by the JSON fuzz target.
TEST(Format, RoundTripIsShortestAndExact) {
  const std::pair<double, const char*> fixed[] = {{21500.25, "21500.25"},
                                                  {1e300, "1e+300"},
                                                  {-0.0, "-0"},
                                                  {0.1, "0.1"},
                                                  {5e-324, "5e-324"},
                                                  {HUGE_VAL, "inf"},
                                                  {-HUGE_VAL, "-inf"},
                                                  {std::numeric_limits<double>::quiet_NaN(), "nan"},
                                                  {-std::numeric_limits<double>::quiet_NaN(), "nan"}};
  for (const auto& [value, expected] : fixed) EXPECT_EQ(RoundTripDouble(value), expected) << expected;
}

// Fixed notation, except where a hostile value would print hundreds of digits.
TEST(Format, FixedPointStopsAtMagnitudesNoPriceHas) {
  const struct {
    double value;
    int decimals;
    const char* expected;
  } cases[] = {
      {21862.5, 2, "21862.50"},
      {-0.125, 1, "-0.1"},
      {999999999999999.0, 0, "999999999999999"},
      {1e15, 2, "1e+15"},
      {-1e308, 2, "-1e+308"},
      {HUGE_VAL, 2, "inf"},
      {std::nan(""), 2, "nan"},
      {-0.0, 1, "-0.0"},
      {2.675, 2, "2.67"},  // 2.67499999...
      {0.5, 0, "0"},
      {1.5, 0, "2"},
      {1e-7, 3, "0.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FixedPoint(c.value, c.decimals), c.expected) << c.expected;
}

// A host process may run under a locale that writes "0,5"; the study's numbers must not.
TEST(Format, DecimalCommaLocaleDoesNotReachNumbers) {
  testing::ScopedLocale locale(testing::kDecimalCommaLocale);
  ASSERT_TRUE(locale.active()) << testing::kMissingLocaleHint;
  ASSERT_EQ(Printf("%.2f", 0.5), "0,50") << "the locale switch has no effect on the C library";

  EXPECT_EQ(Format("%.2f", 0.5), "0.50");
  EXPECT_EQ(Format("%g", 21500.25), "21500.2");
  EXPECT_EQ(Format("%e", 1.5), "1.500000e+00");
  EXPECT_EQ(RoundTripDouble(0.25), "0.25");
  double value = 0;
  EXPECT_EQ(ParseDouble("21500.25", &value), 8u);
  EXPECT_EQ(value, 21500.25);
  EXPECT_EQ(ParseDouble("1,5", &value), 1u);
  EXPECT_EQ(value, 1.0);
}

}  // namespace
}  // namespace text
