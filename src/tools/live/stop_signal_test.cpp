#include "live/stop_signal.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <future>

namespace live {
namespace {

bool FdReadable(const StopSignal& stop) {
  pollfd p{stop.Fd(), POLLIN, 0};
  return poll(&p, 1, 0) == 1;
}

TEST(StopSignal, RaisingWakesWaitsAndPollersUntilReset) {
  StopSignal stop;
  ASSERT_GE(stop.Fd(), 0);
  EXPECT_FALSE(stop.Requested());
  EXPECT_FALSE(FdReadable(stop));
  EXPECT_FALSE(stop.WaitFor(0.001)) << "a wait that runs out";
  auto waiting = std::async(std::launch::async, [&] { return stop.WaitFor(60); });
  stop.Request();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_TRUE(waiting.get());
  EXPECT_TRUE(stop.Requested());
  EXPECT_TRUE(FdReadable(stop));
  stop.Request();
  EXPECT_TRUE(stop.WaitFor(60)) << "raised stays raised";
  stop.Reset();
  EXPECT_FALSE(stop.Requested());
  EXPECT_FALSE(FdReadable(stop));
  EXPECT_FALSE(stop.WaitFor(0));
}

}  // namespace
}  // namespace live
