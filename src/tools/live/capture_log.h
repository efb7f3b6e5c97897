// The capture side's log lines: one per capture, per failure and per run of unchanged chains,
// and the lines a command printed on its standard error. Whatever a source said reaches them
// bounded, as valid UTF-8 and without control characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/capture_record.h"

namespace live {

// The most of one outside text (an error, a line of standard error) a log line or a status keeps.
inline constexpr size_t kMaxLogTextBytes = 1024;

// `text` as a log line or a status may hold it: at most kMaxLogTextBytes (cut with "..."), each
// ill-formed UTF-8 unit and each control character replaced by U+FFFD.
std::string LogText(std::string_view text);

// "QQQ: captured 4312 contracts as of 2025-01-02T15:42:10Z, call wall 525, put wall 500, id 17"
// (a level the engine found none for is left out).
std::string CapturedLine(const store::CaptureRecord& capture, int64_t id);

// "QQQ: chain unchanged since capture 17, not stored again" (or "since the last capture" when
// `id` is 0).
std::string UnchangedLine(std::string_view symbol, int64_t id);

// "QQQ: fetch failed: HTTP 404, retrying in 120 s"; `failure` is already a LogText.
std::string FailedLine(std::string_view symbol, std::string_view failure, double retryInSeconds);

// One line per non-blank line of a command's standard error, "QQQ: command: <line>" (a CR
// before a line end dropped, each line a LogText), then "QQQ: command: ..." when it was `cut`.
std::vector<std::string> ErrorLogLines(std::string_view symbol, std::string_view errorText, bool cut);

}  // namespace live
