#include "text/bounded_text.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

TEST(BoundedText, CutsLongTextsBeforeACharacterAndMarksTheCut) {
  const std::string euro = "\xe2\x82\xac";  // three bytes
  const struct {
    std::string in;
    size_t max;
    std::string out;
  } cases[] = {
      {"", 8, ""},
      {"12345678", 8, "12345678"},
      {"123456789", 8, "12345..."},
      {"1234" + euro + "9", 7, "1234..."},  // the cut would fall inside the euro sign
      {"12" + euro + euro + euro, 8, "12" + euro + "..."},
      {std::string(9, '\x80'), 8, "\x80\x80..."},  // malformed: no endless backing off
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BoundedText(c.in, c.max), c.out) << c.in.size() << " bytes";
  }
  EXPECT_EQ(BoundedText(std::string(100000, 'x')).size(), kMaxKeptTextBytes);
}

}  // namespace
}  // namespace text
