// A price the configuration says where to find: the underlying's spot or the futures price, as
// a number in the file, a URL answering it or a command printing it.
#pragma once

#include <string>
#include <string_view>

#include "live/fetch_status.h"
#include "live/live_config.h"
#include "live/stop_signal.h"

namespace live {

// What a URL or a command may answer for one price.
inline constexpr size_t kMaxValueBytes = 4096;

// The price in `text`: one decimal number above 0 (digits, an optional point and exponent),
// blanks and line ends around it allowed. False with `*error` for anything else (words, two
// numbers, "inf", hexadecimal, 0 or below).
bool ReadPriceText(std::string_view text, double* value, std::string* error);

struct PriceAnswer {
  double value = 0;
  std::string errorText;  // a command's standard error (bounded), as it printed it
  bool errorCut = false;  // it printed more than was kept
};

// The price of `source` into `out->value`: its number, or what its URL answers or its command
// (run in `configDir`) prints, within `timeoutSeconds`. kStopped when `stop` rises meanwhile;
// kFailed with `*error` when it cannot be fetched or is no price (ReadPriceText), or `source`
// is kNone.
FetchStatus FetchPrice(const ValueSource& source, const std::string& configDir, double timeoutSeconds,
                       const StopSignal& stop, PriceAnswer* out, std::string* error);

}  // namespace live
