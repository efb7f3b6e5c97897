#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cli {
namespace {

constexpr const char* kR = "\xEF\xBF\xBD";  // U+FFFD

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
