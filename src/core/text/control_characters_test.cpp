#include "text/control_characters.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

TEST(ReplaceControlCharacters, ReplacesC0DeleteAndC1AndKeepsEverythingElse) {
  const std::string r(kReplacementCharacter);
  const struct {
    std::string in, out;
  } cases[] = {
      {"plain text, 4.5 %", "plain text, 4.5 %"},
      {"a\tb", "a\tb"},  // a tab is a blank, not a control that harms
      {"line\nforged: ok", "line" + r + "forged: ok"},
      {"\r\n", r + r},
      {"\x1b[31mred\x1b]0;title\x07", r + "[31mred" + r + "]0;title" + r},
      {std::string("nul\0here", 8), "nul" + r + "here"},
      {"del\x7f", "del" + r},
      {"csi\xc2\x9b" "2J", "csi" + r + "2J"},                // C1 CSI in UTF-8: one replacement
      {"\xc2\x80\xc2\x9f\xc2\xa0", r + r + "\xc2\xa0"},      // U+00A0 is no control
      {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},
      {"cut \xc2", "cut \xc2"},                              // a lead byte at the end stays
      {"\xff\x9b", "\xff\x9b"},                              // ill-formed bytes are not controls here
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceControlCharacters(c.in), c.out) << c.in;
  }
}

}  // namespace
}  // namespace text
