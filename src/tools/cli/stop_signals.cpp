#include "cli/stop_signals.h"

#include <pthread.h>

namespace cli {

StopSignalMask::StopSignalMask(bool block) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigemptyset(&previous_);
  if (block) active_ = pthread_sigmask(SIG_BLOCK, &signals_, &previous_) == 0;
}

StopSignalMask::~StopSignalMask() {
  if (active_) pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace cli
