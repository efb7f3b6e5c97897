// The signals that end a live chart run or a service (SIGINT, SIGTERM), held back while it runs
// so that they wait for the loop that takes them instead of killing the process mid-write.
#pragma once

#include <signal.h>

namespace cli {

// Blocks SIGINT and SIGTERM in the calling thread for its lifetime; after, discards those still
// pending (the run has stopped already) and restores the previous mask. Threads inherit the
// mask when they start, so block before any thread starts.
class StopSignalMask {
 public:
  // Blocks the signals when `block` is true; else only names them, for a run that never waits.
  explicit StopSignalMask(bool block = true);
  ~StopSignalMask();
  StopSignalMask(const StopSignalMask&) = delete;
  StopSignalMask& operator=(const StopSignalMask&) = delete;

  // SIGINT and SIGTERM, to wait for with sigwait or sigtimedwait.
  const sigset_t& Signals() const { return signals_; }

 private:
  sigset_t signals_;
  sigset_t previous_;
  bool active_ = false;  // whether the mask was changed and must be restored
};

}  // namespace cli
