// Memory running out anywhere inside a call that delivers an answer: the call returns, the last
// good map stays, the study says what happened, and the answer is dropped rather than read again.
#include <gtest/gtest.h>

#include "host/allocation_counter_test_support.h"
#include "payload/payload_test_support.h"
#include "study/driver_test_support.h"
#include "study/fetch_cycle.h"
#include "study/input_table.h"

namespace study {
namespace {

constexpr const char* kNotJsonError =
    "API response was not valid JSON - see the Message Log for what came back. Retrying.";

TEST(OutOfMemory, EveryAllocationOfADeliveringCallMayFail) {
  if (!host::testing::AllocationHookAvailable()) GTEST_SKIP() << "the sanitizer owns operator new";
  const std::string answer = payload::testing::ReadAnswerFile("legacy.json");
  ASSERT_FALSE(answer.empty());
  for (long long failAt = 1;; ++failAt) {
    DriverHarness h;
    h.LoadMap(answer);
    ASSERT_TRUE(h.State().snapshot.valid);
    const double callWall = h.State().snapshot.callWall.value;
    h.Call(kT0 + 181);  // the refresh goes out
    ASSERT_EQ(h.State().pending.step, kStepLevels);

    h.sc.responseBody = answer;
    host::testing::StartCountingAllocations(failAt);
    h.Call(kT0 + 182);
    const host::testing::AllocationCount count = host::testing::StopCountingAllocations();
    if (!count.failed) {
      EXPECT_GT(failAt, 100) << "a delivering call allocates; the sweep must have run";
      RecordProperty("allocations", static_cast<int>(failAt - 1));
      break;
    }
    const InstanceState& s = h.State();
    EXPECT_TRUE(s.snapshot.valid) << "allocation " << failAt;
    EXPECT_EQ(s.snapshot.callWall.value, callWall) << "allocation " << failAt;
    EXPECT_NE(s.errorLine, kNotJsonError) << "a valid answer is never called not JSON, " << failAt;
    EXPECT_TRUE(s.statusLine == kOutOfMemoryStatus || s.errorLine == kAnswerOutOfMemoryError)
        << "the panel says what happened, " << failAt << ": " << s.statusLine;
    h.sc.responseBody.clear();
    h.Call(kT0 + 183);  // memory is back: the study draws again and shows what happened
    EXPECT_TRUE(h.State().snapshot.valid) << "allocation " << failAt;
    EXPECT_FALSE(h.State().redraw) << "allocation " << failAt;
  }
}

}  // namespace
}  // namespace study
