#include "live/stop_signal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace live {
namespace {

// Longer waits are cut here so that no deadline overflows the clock's arithmetic; callers wait
// in a loop anyway.
constexpr double kLongestWaitSeconds = 3600;

}  // namespace

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
  if (fd_ >= 0) close(fd_);
}

void StopSignal::Request() {
  {
    std::lock_guard lock(mutex_);
    if (requested_.exchange(true, std::memory_order_acq_rel)) return;
  }
  raised_.notify_all();
  if (fd_ >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
  }
}

void StopSignal::Reset() {
  std::lock_guard lock(mutex_);
  requested_.store(false, std::memory_order_release);
  if (fd_ >= 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(fd_, &count, sizeof count);
  }
}

bool StopSignal::WaitFor(double seconds) const {
  std::unique_lock lock(mutex_);
  if (seconds > 0) {
    const std::chrono::duration<double> wait(std::min(seconds, kLongestWaitSeconds));
    raised_.wait_for(lock, wait, [this] { return Requested(); });
  }
  return Requested();
}

}  // namespace live
