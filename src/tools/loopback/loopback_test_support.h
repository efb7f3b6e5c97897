// Test support for what happens on a server's or a transfer's own threads, which a test can
// only poll: waiting for it with a deadline.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace loopback::testing {

// Polls `done` every two milliseconds; true once it holds, false when `timeout` passes first.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace loopback::testing
