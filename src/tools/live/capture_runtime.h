// The capture side of the live levels service: per configured symbol a worker of its own fetches
// the option chain on its schedule, computes it with the engine and appends each new capture to
// the store; captures past the retention are pruned. A source that hangs delays only its symbol.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "chart/clock.h"
#include "live/live_config.h"
#include "live/live_state.h"
#include "store/capture_store.h"

namespace live {

// Receives one log line (no line end, control characters already replaced); called from the
// workers' threads, one line at a time.
using LogLine = std::function<void(const std::string& line)>;

// What one capture attempt came to.
enum class CaptureOutcome {
  kCaptured,   // a new capture is in the store
  kUnchanged,  // the chain is the one stored last: nothing added
  kFailed,     // fetching, reading, computing or storing failed: the last good capture stays
  kStopped,    // the runtime stopped during the attempt
};

class CaptureRuntime {
 public:
  // Requires: `store`, `state` and `clock` outlive the runtime; `state` was made with the
  // configuration's symbols.
  CaptureRuntime(LiveConfig config, store::CaptureStore& store, LiveState& state, const chart::Clock& clock,
                 LogLine log);
  // Stops the workers when they still run.
  ~CaptureRuntime();
  CaptureRuntime(const CaptureRuntime&) = delete;
  CaptureRuntime& operator=(const CaptureRuntime&) = delete;

  // Seeds `state` from the store, so that a restart resumes where the store ends, and starts
  // the workers and the pruner. False with a reason when the store cannot be read or a worker
  // cannot start (nothing is left running then).
  bool Start(std::string* error);
  // Ends every worker: waits, fetches and commands are cut short. Returns within two seconds
  // whatever the sources do. No effect when not running.
  void Stop();

  // One capture attempt of `symbol` on the calling thread, as its worker makes one when due
  // (it sets the symbol's next attempt too); for tests driven by a scripted clock. kFailed for a
  // symbol not configured; kStopped once Stop was called, until the next Start.
  CaptureOutcome CaptureNow(std::string_view symbol);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace live
