#include "render/display_text.h"

#include <gtest/gtest.h>

namespace render {
namespace {

TEST(DisplayText, ReplacesWhatCannotBeShown) {
  struct Case {
    const char* name;
    std::string input;
    std::string shown;
    size_t columns;
  };
  const std::string r = "\xEF\xBF\xBD";
  const std::vector<Case> cases = {
      {"two-byte", "\xC3\xA9", "\xC3\xA9", 1},
      {"four-byte", "\xF0\x9F\x93\x88", "\xF0\x9F\x93\x88", 1},
      {"lone continuation", "a\x80" "b", "a" + r + "b", 3},
      {"truncated at end", "a\xE2\x82", "a" + r, 2},
      {"overlong", "\xC0\xAF", r + r, 2},
      {"surrogate", "\xED\xA0\x80", r + r + r, 3},
      {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r, 4},
      {"controls", std::string("a\nb\x7f\0c", 6), "a b  c", 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.input), c.shown) << c.name;
    EXPECT_EQ(DisplayColumns(c.input), c.columns) << c.name;
  }
}

}  // namespace
}  // namespace render
