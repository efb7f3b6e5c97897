#include "render/display_text.h"

#include <gtest/gtest.h>

namespace render {
namespace {

// Which bytes form a broken sequence is NextUtf8Unit's rule (jsonout/utf8_text_test); here what
// the display makes of one.
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
      {"lone continuation",
       "a\x80"
       "b",
       "a" + r + "b", 3},
      {"controls", std::string("a\nb\x7f\0c", 6), "a b  c", 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.input), c.shown) << c.name;
    EXPECT_EQ(DisplayColumns(c.input), c.columns) << c.name;
  }
}

}  // namespace
}  // namespace render
