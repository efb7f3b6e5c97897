#include "chart/clock.h"

#include <chrono>

namespace chart {

double SystemClock::Now() const {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

}  // namespace chart
