#include "text/utf8_text.h"

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(Utf8Text, OneReplacementPerMaximalSubpart) {
  const std::string r(kReplacementCharacter);
  struct Case {
    const char* name;
    std::string input;
    std::string repaired;
  };
  const Case cases[] = {
      {"ascii and controls kept", std::string("a\n\0b", 4), std::string("a\n\0b", 4)},
      {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\x88",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\x88"},
      {"edges of the ranges", "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF",
       "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"},
      {"lone continuation bytes",
       "a\x80\xBF"
       "b",
       "a" + r + r + "b"},
      {"C0 and C1 never lead", "\xC0\xAF\xC1\xBF", r + r + r + r},
      {"F5 to FF never lead", "\xF5\x80\xFF", r + r + r},
      {"overlong three bytes", "\xE0\x80\xAF", r + r + r},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", r + r + r + r},
      {"surrogate", "\xED\xA0\x80", r + r + r},
      {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"cut short at the end", "a\xE2\x82", "a" + r},
      {"four-byte start cut short",
       "\xF0\x9F\x93"
       "b",
       r + "b"},
      {"cut short by a new lead", "\xE2\x82\xC3\xA9", r + "\xC3\xA9"},
      // The example of the Unicode standard's section on U+FFFD substitution.
      {"standard example", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       "a" + r + r + r + "b" + r + "c" + r + r + "d"},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidUtf8(c.input), c.repaired) << c.name;
}

}  // namespace
}  // namespace text
