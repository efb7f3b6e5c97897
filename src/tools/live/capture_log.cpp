#include "live/capture_log.h"

#include <cmath>

#include "formats/typed_time.h"
#include "text/utf8_text.h"
#include "text/ascii.h"
#include "text/bounded_text.h"
#include "text/control_characters.h"
#include "text/format.h"

namespace live {
namespace {

void AddLevel(std::string* line, const char* name, const std::optional<double>& level) {
  if (level) *line += text::Format(", %s %g", name, *level);
}

}  // namespace

std::string LogText(std::string_view text) {
  return text::ReplaceControlCharacters(text::ValidUtf8(text::BoundedText(text, kMaxLogTextBytes)));
}

std::string CapturedLine(const store::CaptureRecord& capture, int64_t id) {
  const store::CaptureSummary& s = capture.summary;
  std::string line = text::Format("%s: captured %d contracts as of %s", s.symbol,
                                  static_cast<long long>(capture.contracts.size()),
                                  formats::UtcTimestampText(static_cast<double>(s.asOf)));
  AddLevel(&line, "call wall", s.levels.callWall);
  AddLevel(&line, "put wall", s.levels.putWall);
  AddLevel(&line, "gamma flip", s.levels.gammaFlip);
  line += text::Format(", id %d", static_cast<long long>(id));
  return line;
}

std::string UnchangedLine(std::string_view symbol, int64_t id) {
  const std::string since =
      id > 0 ? text::Format("capture %d", static_cast<long long>(id)) : std::string("the last capture");
  return text::Format("%s: chain unchanged since %s, not stored again", symbol, since);
}

std::string FailedLine(std::string_view symbol, std::string_view failure, double retryInSeconds) {
  return text::Format("%s: %s, retrying in %.0f s", symbol, failure, retryInSeconds);
}

std::vector<std::string> ErrorLogLines(std::string_view symbol, std::string_view errorText, bool cut) {
  std::vector<std::string> lines;
  while (!errorText.empty()) {
    const size_t end = errorText.find('\n');
    std::string_view line = errorText.substr(0, end);
    errorText = end == errorText.npos ? std::string_view() : errorText.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (text::TrimBlanks(line).empty()) continue;
    lines.push_back(text::Format("%s: command: %s", symbol, LogText(line)));
  }
  if (cut) lines.push_back(text::Format("%s: command: ...", symbol));
  return lines;
}

}  // namespace live
