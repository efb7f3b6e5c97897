#include "cli/stop_signals.h"

#include <pthread.h>
#include <time.h>

namespace cli {

StopSignalMask::StopSignalMask(bool block) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigemptyset(&previous_);
  if (block) active_ = pthread_sigmask(SIG_BLOCK, &signals_, &previous_) == 0;
}

StopSignalMask::~StopSignalMask() {
  if (!active_) return;
  // A stop signal that came while the run was stopping (a second Ctrl-C) is answered by that
  // stop; let through now, it would kill the process on its way out.
  const timespec none{0, 0};
  while (sigtimedwait(&signals_, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace cli
