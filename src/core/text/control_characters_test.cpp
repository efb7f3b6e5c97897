#include "text/control_characters.h"

#include <gtest/gtest.h>

#include <string>

#include "text/utf8_text.h"

namespace text {
namespace {

TEST(ReplaceControlCharacters, ControlsAndBrokenUtf8BecomeReplacementCharacters) {
  const std::string r(kReplacementCharacter);
  const struct {
    std::string in, out;
  } cases[] = {
      {"Call Wall 21862.50\tok", "Call Wall 21862.50\tok"},     // a tab is a blank, not a control that harms
      {"\x1b]0;pwned\x07title", r + "]0;pwned" + r + "title"},  // ESC, BEL
      {"fake\rline\x08\x08", "fake" + r + "line" + r + r},      // CR, BS
      {"two\nlines", "two" + r + "lines"},                      // LF forges a line
      {std::string("nul\0here", 8), "nul" + r + "here"},
      {"del\x7f", "del" + r},
      {"csi\xc2\x9b"
       "2J",
       "csi" + r + "2J"},                                   // C1 CSI in UTF-8: one replacement
      {"nel\xc2\x85 pad\xc2\x80", "nel" + r + " pad" + r},  // first and last C1
      {"nbsp\xc2\xa0 \xe2\x80\x94 \xf0\x9f\x93\x88", "nbsp\xc2\xa0 \xe2\x80\x94 \xf0\x9f\x93\x88"},
      {"raw \x9b c1 byte", "raw " + r + " c1 byte"},  // a lone 0x9B is not UTF-8
      {"cut \xe2\x82", "cut " + r},                   // one per ill-formed unit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceControlCharacters(c.in), c.out) << c.in;
  }
}

}  // namespace
}  // namespace text
