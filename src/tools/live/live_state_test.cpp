#include "live/live_state.h"

#include <gtest/gtest.h>

namespace live {
namespace {

TEST(LiveState, UpdatesKnownSymbolsAndCountsNewCaptures) {
  LiveState state({"QQQ", "SPX"});
  EXPECT_FALSE(state.Update("IWM", [](SymbolStatus& s) { s.failures = 1; })) << "not configured";
  ASSERT_TRUE(state.Update("SPX", [](SymbolStatus& s) { s.failures = 2; }));
  EXPECT_EQ(state.Generation(), 0u) << "a failure brings no new capture";
  ASSERT_TRUE(state.Update("QQQ", [](SymbolStatus& s) { s.latestCaptureId = 7; }));
  EXPECT_EQ(state.Generation(), 1u);
  ASSERT_TRUE(state.Update("QQQ", [](SymbolStatus& s) { s.symbol = "renamed"; }));
  EXPECT_EQ(state.Of("QQQ")->symbol, "QQQ") << "a change cannot rename the status";
  const std::vector<SymbolStatus> all = state.Snapshot();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].latestCaptureId, 7);
  EXPECT_EQ(all[1].failures, 2u);
  EXPECT_EQ(state.Symbols(), (std::vector<std::string>{"QQQ", "SPX"}));
  EXPECT_FALSE(state.Of("IWM"));
}

}  // namespace
}  // namespace live
