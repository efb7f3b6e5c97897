#include "panel/panel_wrap.h"

#include <gtest/gtest.h>

namespace panel {
namespace {

using Pieces = std::vector<std::string>;

TEST(WrapPanelText, CutsAtSpacesNewlinesAndColumns) {
  const struct {
    std::string text;
    int columns;
    Pieces expected;
  } cases[] = {
      {"abc def ghi", 5, {"abc", "def", "ghi"}},
      {"abcdefgh", 5, {"abcde", "fgh"}},
      {"a\n\nb", 5, {"a", "", "b"}},
      {"a\n", 5, {"a", ""}},
      {"", 5, {""}},
      {"  Charm dealers sell", 12, {"  Charm", "dealers sell"}},
      {" abcdef", 3, {" ab", "cde", "f"}},  // a space only at position 0 does not count
      {"ab    cd", 3, {"ab", "cd"}},
      {"abc", -7, {"a", "b", "c"}},  // columns clamp to 1
      {"\xC3\xA9t\xC3\xA9 \xC3\xA0 Paris", 5, {"\xC3\xA9t\xC3\xA9", "\xC3\xA0", "Paris"}},
      {"\xC3\xA9t\xC3\xA9 \xC3\xA0 Paris", 6, {"\xC3\xA9t\xC3\xA9 \xC3\xA0", "Paris"}},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 3, {"\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9"}},
      {"\x80\x80\x80zz", 2, {"\x80\x80\x80z", "z"}},  // stray continuation bytes stay together
      {std::string(300, 'x'), 500, {std::string(120, 'x'), std::string(120, 'x'), std::string(60, 'x')}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WrapPanelText(c.text, c.columns), c.expected) << c.text.substr(0, 20) << " @" << c.columns;
  }
}

}  // namespace
}  // namespace panel
