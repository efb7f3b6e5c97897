// The request phase of a call: take the answer of the one pending host HTTP request (or its
// timeout), then send the next levels or fear-score request when one is due. Never waits.
#pragma once

#include <string>

#include "host/study_host.h"
#include "study/call_inputs.h"
#include "study/instance_state.h"

namespace study {

inline constexpr double kLevelsTimeoutSeconds = 45;
inline constexpr double kChartTimeoutSeconds = 20;
inline constexpr double kLevelsResendDelay = 15;
inline constexpr double kChartResendDelay = 60;
inline constexpr double kChartRefreshPeriod = 300;
inline constexpr double kUnreadableRetryDelay = 30;
inline constexpr double kHeldCaptureHorizon = 259200;  // 3 days
// Answers above this size are refused unread: the largest real answer is about 1 MB, and a
// bigger one would stall the chart thread while it is parsed.
inline constexpr size_t kMaxAnswerBytes = 8 * 1024 * 1024;
// The answer document gives its buffers back once an answer left them above this: the largest
// real answer needs under 2 MB, so only an unusually large one is not kept for the next.
inline constexpr size_t kKeptAnswerDocumentBytes = 4 * 1024 * 1024;

inline constexpr const char* kAnswerTooLargeError =
    "API response too large to read - see the Message Log. Retrying.";
inline constexpr const char* kAnswerOutOfMemoryError =
    "Not enough memory to read the API response - your last levels stay on the chart. Retrying.";

inline constexpr const char* kLevelsUserAgent = "Ordinel-Sierra/4.7.1";
// Origin of the public daily chart service the fear score reads VIX and QQQ closes from.
inline constexpr const char* kChartServiceOrigin = "https://query1.finance.yahoo.com";

// Runs the request phase for this call. `now` is in whole seconds since 1970.
void RunRequestPhase(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now);

// True while a locked-at-open capture is held: nothing at all is sent then.
bool IsHeldCapture(const payload::LevelsSnapshot& snapshot, const CallInputs& in, double now);

// The levels URL for the current inputs.
std::string LevelsUrl(const std::string& apiSymbol, const CallInputs& in);

}  // namespace study
