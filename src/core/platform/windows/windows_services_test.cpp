#include "platform/windows/windows_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <stdexcept>

namespace platform {
namespace {

// Far beyond what starting a thread takes; only a worker that never runs reaches it.
constexpr std::chrono::seconds kHangGuard{60};

TEST(WindowsServices, WorkerRunsOnAThreadOfItsOwn) {
  WindowsServices services;
  std::promise<DWORD> ranOn;
  std::future<DWORD> thread = ranOn.get_future();
  ASSERT_TRUE(services.StartDetachedThread([&ranOn] { ranOn.set_value(GetCurrentThreadId()); }));
  ASSERT_EQ(thread.wait_for(kHangGuard), std::future_status::ready);
  EXPECT_NE(thread.get(), GetCurrentThreadId());
}

// An exception must end only its worker: the process and later workers carry on.
TEST(WindowsServices, ThrowingWorkerEndsAloneAndLaterWorkersRun) {
  WindowsServices services;
  std::promise<void> thrown;
  std::future<void> throwing = thrown.get_future();
  ASSERT_TRUE(services.StartDetachedThread([&thrown] {
    thrown.set_value();
    throw std::runtime_error("worker failure");
  }));
  ASSERT_EQ(throwing.wait_for(kHangGuard), std::future_status::ready);
  std::promise<void> ran;
  std::future<void> next = ran.get_future();
  ASSERT_TRUE(services.StartDetachedThread([&ran] { ran.set_value(); }));
  EXPECT_EQ(next.wait_for(kHangGuard), std::future_status::ready);
}

}  // namespace
}  // namespace platform
