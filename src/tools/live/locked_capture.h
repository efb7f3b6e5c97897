// The map a locked levels answer serves. The locked map of a New York session is its first
// capture at or after 09:30 by the chain's own time. Before 09:30, and on days without a session
// (Saturday, Sunday), the last session's map is in force; the study asks again at the next
// session's 09:30.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "store/capture_store.h"

namespace live {

// Sessions searched back from the one in force before a locked request gives up.
inline constexpr int kLockedSessionsBack = 8;

struct LockedCapture {
  store::CaptureRecord capture;
  std::string session;          // "YYYY-MM-DD", the capture's session date
  double refreshAfterUnix = 0;  // 09:30 New York of the session after it
};

// The session whose locked map is in force at `nowSeconds`: today from 09:30 on a weekday, else
// the weekday before ("YYYY-MM-DD").
std::string LockedSessionAt(platform::Services& services, double nowSeconds);

// 09:30 New York on `session` ("YYYY-MM-DD"), in seconds since 1970; -1 for a malformed date.
double SessionOpen(platform::Services& services, std::string_view session);

// The weekday after `session`; empty for a malformed date.
std::string NextSession(std::string_view session);

// The locked capture of `symbol` at `nowSeconds`: that of the session in force, else of the
// latest earlier session that has one, searching at most kLockedSessionsBack sessions that hold
// captures. Empty when none has; false with the store's message when it cannot be read.
bool FindLockedCapture(store::CaptureStore& store, platform::Services& services, std::string_view symbol,
                       double nowSeconds, std::optional<LockedCapture>* out, std::string* error);

}  // namespace live
