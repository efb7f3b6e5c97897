#include "cli/stop_signals.h"

#include <gtest/gtest.h>
#include <pthread.h>

namespace cli {
namespace {

bool Blocked(int signal) {
  sigset_t now;
  pthread_sigmask(SIG_SETMASK, nullptr, &now);
  return sigismember(&now, signal) == 1;
}

// A second Ctrl-C while the run stops used to stay pending until the mask was restored, and
// then killed the process on its way out, after the save but with the status of a signal.
TEST(StopSignalMask, AStopSignalLeftPendingDoesNotOutliveTheMask) {
  ASSERT_FALSE(Blocked(SIGINT));
  {
    const StopSignalMask mask;
    EXPECT_TRUE(Blocked(SIGINT));
    EXPECT_TRUE(Blocked(SIGTERM));
    ASSERT_EQ(raise(SIGINT), 0);
    ASSERT_EQ(raise(SIGTERM), 0);
  }
  // Still alive: neither signal was let through with its default action.
  EXPECT_FALSE(Blocked(SIGINT));
  EXPECT_FALSE(Blocked(SIGTERM));
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGINT), 0);
}

}  // namespace
}  // namespace cli
