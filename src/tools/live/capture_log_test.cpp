#include "live/capture_log.h"

#include <gtest/gtest.h>

namespace live {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(CaptureLog, LogTextIsBoundedValidAndFreeOfControls) {
  EXPECT_EQ(LogText("HTTP 404"), "HTTP 404");
  EXPECT_EQ(LogText("a\nb\x1b[2Jc"), "a" + kFffd + "b" + kFffd + "[2Jc");
  EXPECT_EQ(LogText("bad \xff\xc3 utf-8"), "bad " + kFffd + kFffd + " utf-8");
  const std::string longText = LogText(std::string(5000, 'x'));
  EXPECT_EQ(longText.size(), kMaxLogTextBytes);
  EXPECT_EQ(longText.substr(longText.size() - 3), "...");
}

TEST(CaptureLog, ACommandsErrorOutputBecomesLinesOfItsSymbol) {
  const struct {
    std::string text;
    bool cut;
    std::vector<std::string> lines;
  } cases[] = {
      {"", false, {}},
      {"one\n", false, {"QQQ: command: one"}},
      {"one\r\ntwo", false, {"QQQ: command: one", "QQQ: command: two"}},
      {"\n  \n\t\nlast\n\n", false, {"QQQ: command: last"}},
      {"mid\rline\n", false, {"QQQ: command: mid" + kFffd + "line"}},
      {"\x1b]0;title\x07", false, {"QQQ: command: " + kFffd + "]0;title" + kFffd}},
      {"partial", true, {"QQQ: command: partial", "QQQ: command: ..."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorLogLines("QQQ", c.text, c.cut), c.lines) << c.text;
  }
}

TEST(CaptureLog, CaptureUnchangedAndFailureLines) {
  store::CaptureRecord capture;
  capture.summary.symbol = "QQQ";
  capture.summary.asOf = 1735832530;
  capture.summary.levels.callWall = 525;
  capture.summary.levels.putWall = 500;
  capture.contracts.resize(3788);
  EXPECT_EQ(CapturedLine(capture, 17),
            "QQQ: captured 3788 contracts as of 2025-01-02T15:42:10Z, call wall 525, put wall 500, id 17");
  capture.summary.levels.gammaFlip = 512.75;
  EXPECT_EQ(CapturedLine(capture, 18),
            "QQQ: captured 3788 contracts as of 2025-01-02T15:42:10Z, call wall 525, put wall 500, "
            "gamma flip 512.75, id 18");
  EXPECT_EQ(UnchangedLine("QQQ", 17), "QQQ: chain unchanged since capture 17, not stored again");
  EXPECT_EQ(UnchangedLine("QQQ", 0), "QQQ: chain unchanged since the last capture, not stored again");
  EXPECT_EQ(FailedLine("QQQ", "fetch failed: HTTP 404", 120.4),
            "QQQ: fetch failed: HTTP 404, retrying in 120 s");
}

}  // namespace
}  // namespace live
