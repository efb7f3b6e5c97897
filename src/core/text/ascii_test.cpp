#include "text/ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

TEST(Ascii, TrimsOnlyTheGivenBlanksAtEitherEnd) {
  const struct {
    std::string in;
    std::string_view blanks;
    std::string out;
  } cases[] = {
      {"", kBlanks, ""},
      {" \t ", kBlanks, ""},
      {"\t a b \t", kBlanks, "a b"},
      {" a\r\n", kBlanks, "a\r\n"},  // line ends are not blanks unless named
      {" a\r\n", " \r\n\t", "a"},
      {"\xC2\xA0"
       "a",
       kBlanks,
       "\xC2\xA0"
       "a"},  // a no-break space is no ASCII blank
      {"xxaxx", "x", "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimBlanks(c.in, c.blanks), c.out) << '"' << c.in << '"';
  }
}

// Only 'A' to 'Z' change: bytes above 127, which a Latin-1 locale's tolower would map, stay.
TEST(Ascii, ChangesTheCaseOfAsciiLettersOnly) {
  const struct {
    std::string a, b;
    bool equal;
    std::string lowerA, upperA;
  } cases[] = {
      {"Open Interest", "open interest", true, "open interest", "OPEN INTEREST"},
      {"AZaz", "azAZ", true, "azaz", "AZAZ"},
      {"@[`{", "@[`{", true, "@[`{", "@[`{"},  // the neighbours of the letter ranges
      {"@", "`", false, "@", "@"},
      {"\xC4\xE4", "\xE4\xC4", false, "\xC4\xE4", "\xC4\xE4"},  // Latin-1 A with diaeresis
      {"LOCALHOST", "localhost.", false, "localhost", "LOCALHOST"},
      {"", "", true, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(AsciiLower(c.a), c.lowerA) << c.a;
    EXPECT_EQ(AsciiUpper(c.a), c.upperA) << c.a;
  }
}

}  // namespace
}  // namespace text
