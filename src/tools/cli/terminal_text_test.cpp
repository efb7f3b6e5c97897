#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cli {
namespace {

constexpr const char* kR = "\xEF\xBF\xBD";  // U+FFFD

TEST(TerminalText, ControlCharactersAndBrokenUtf8BecomeReplacementCharacters) {
  struct Case {
    std::string in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"Call Wall 21862.50\tok", "Call Wall 21862.50\tok"},                  // tab stays
      {"\x1b]0;pwned\x07title", std::string(kR) + "]0;pwned" + kR + "title"},  // ESC, BEL
      {"fake\rline\x08\x08", std::string("fake") + kR + "line" + kR + kR},     // CR, BS
      {"two\nlines", std::string("two") + kR + "lines"},                      // LF forges a line
      {std::string("nul\0here", 8), std::string("nul") + kR + "here"},
      {"del\x7f", std::string("del") + kR},
      {"csi\xc2\x9b" "2J", std::string("csi") + kR + "2J"},                  // C1 CSI as UTF-8
      {"nel\xc2\x85 pad\xc2\x80", std::string("nel") + kR + " pad" + kR},     // first and last C1
      {"nbsp\xc2\xa0 \xe2\x80\x94 \xf0\x9f\x93\x88", "nbsp\xc2\xa0 \xe2\x80\x94 \xf0\x9f\x93\x88"},
      {"raw \x9b c1 byte", std::string("raw ") + kR + " c1 byte"},           // a lone 0x9B is not UTF-8
      {"cut \xe2\x82", std::string("cut ") + kR},                            // one per ill-formed unit
  };
  for (const Case& c : cases) EXPECT_EQ(TerminalText(c.in), c.out) << "input: " << c.in;
}

TEST(TerminalText, PrintLineEndsTheCleanedTextWithOneLineFeed) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  PrintLine(file, "ordinel chart: \x1b[2Jgone");
  std::rewind(file);
  char buffer[64] = {};
  const size_t got = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, got), std::string("ordinel chart: ") + kR + "[2Jgone\n");
}

}  // namespace
}  // namespace cli
