// How the capture side is told to stop: a flag its loops check, timed waits that end as soon as
// it is raised, and a descriptor that poll() finds readable from then on, so that a transfer or
// a command waiting for its next bytes ends as quickly.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace live {

class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Raises the signal: Requested() turns true, every WaitFor returns, Fd() becomes readable.
  // Safe from any thread.
  void Request();
  // Lowers it again, for a runtime started anew. Requires: nobody waits on it.
  void Reset();

  // Whether the signal is raised.
  bool Requested() const { return requested_.load(std::memory_order_acquire); }
  // Waits up to `seconds` real seconds (none for 0 or less); true when the signal is raised.
  bool WaitFor(double seconds) const;
  // Readable while the signal is raised; -1 when the system gave no descriptor, and then
  // whoever polls must still look at Requested() now and then (they all do).
  int Fd() const { return fd_; }

 private:
  std::atomic<bool> requested_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable raised_;
  int fd_ = -1;
};

}  // namespace live
