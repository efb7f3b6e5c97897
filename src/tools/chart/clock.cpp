#include "chart/clock.h"

#include <chrono>

namespace chart {

double SystemClock::Now() const {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

FastClock::FastClock(double rate)
    : rate_(rate), start_(SystemClock().Now()), startTick_(std::chrono::steady_clock::now()) {}

double FastClock::Now() const {
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - startTick_).count();
  return start_ + elapsed * rate_;
}

}  // namespace chart
