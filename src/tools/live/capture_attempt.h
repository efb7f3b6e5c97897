// One capture attempt of one symbol, as its worker makes one when it is due: fetch the chain,
// read it, compare it with the store's latest, fetch the prices it needs, compute, append, and
// bring the symbol's status and the log up to date.
#pragma once

#include <optional>
#include <string>

#include "chart/clock.h"
#include "live/capture_runtime.h"
#include "live/chain_fetch.h"
#include "live/live_config.h"
#include "live/live_state.h"
#include "live/stop_signal.h"
#include "platform/services.h"
#include "store/capture_store.h"

namespace live {

// What the attempts of one symbol remember between them.
struct SymbolMemory {
  std::optional<FileStamp> fileStamp;  // of the file last read into a chain that was stored or known
  bool inUnchangedRun = false;         // the last attempt found the chain unchanged (and said so)
};

// What an attempt works with. Requires: every member outlives the attempt; `log` may be called
// from any thread the attempt runs on.
struct AttemptContext {
  const SymbolConfig& symbol;
  const std::string& configDir;
  store::CaptureStore& store;
  LiveState& state;
  const chart::Clock& clock;
  platform::Services& services;
  const StopSignal& stop;
  const LogLine& log;
};

struct AttemptResult {
  CaptureOutcome outcome = CaptureOutcome::kFailed;
  double attemptedAt = 0;  // on the context's clock
  std::string failure;     // kFailed: "fetch failed: HTTP 404" and the like, as a LogText
};

// Makes the attempt. A capture, an unchanged chain and the command's error lines are logged here
// and the status updated (counters, times, last error); a failure is left for the caller to log
// once it knows when the next attempt is due. A stopped attempt changes no counter.
AttemptResult AttemptCapture(const AttemptContext& context, SymbolMemory* memory);

}  // namespace live
