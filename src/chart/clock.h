// Where the chart host takes the time of each call: a virtual clock that a test or a replay
// moves by hand, or the system clock for live runs.
#pragma once

#include <atomic>

namespace chart {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970 (UTC). Safe from any thread.
  virtual double Now() const = 0;
};

// Stands still until Set moves it; the research worker may read it while the host sets it.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(double start = 0) : now_(start) {}
  double Now() const override { return now_.load(std::memory_order_acquire); }
  void Set(double seconds) { now_.store(seconds, std::memory_order_release); }

 private:
  std::atomic<double> now_;
};

// The operating system's wall clock.
class SystemClock : public Clock {
 public:
  double Now() const override;
};

}  // namespace chart
