// Where the chart host takes the time of each call: a virtual clock that a test or a replay
// moves by hand, or the system clock for live runs.
#pragma once

#include <atomic>
#include <chrono>

namespace chart {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970 (UTC). Safe from any thread.
  virtual double Now() const = 0;
  // Clock seconds that pass per real second while nothing sets the clock, so that a wait for a
  // clock time can be turned into a real one: 1 for the system clock and a virtual one (whose
  // waits end in real time, the test moving it meanwhile). Safe from any thread.
  virtual double Rate() const { return 1; }
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

// Starts at the wall clock's time and runs `rate` times as fast as it (session seconds per
// real second), so that a live session lives through minutes in seconds.
class FastClock : public Clock {
 public:
  // Requires: `rate` > 0.
  explicit FastClock(double rate);
  double Now() const override;
  double Rate() const override { return rate_; }

 private:
  double rate_;
  double start_;  // wall-clock seconds at construction
  std::chrono::steady_clock::time_point startTick_;
};

}  // namespace chart
