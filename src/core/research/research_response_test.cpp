#include "research/research_response.h"

#include <gtest/gtest.h>

#include <limits>

#include "payload/payload_test_support.h"

namespace research {
namespace {

using payload::testing::ResearchOf;

TEST(AcceptResearchResponse, ChecksTheIdentityOfTheAnswer) {
  const struct {
    const char *symbol, *expectedSource, *answer, *status;
  } cases[] = {
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ"})", kResearchCaptured},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"SPX"})",
       kResearchIdentityMismatch},
      {"ES", "SPY", R"({"ok":true,"symbol":"ES","day":"2025-01-02","source":"SPY",
        "expiry_book":{"symbol":"SPY"}})",
       kResearchCaptured},
      {"ES", "SPY", R"({"ok":true,"symbol":"ES","day":"2025-01-02","source":"SPY",
        "expiry_book":{"symbol":"SPX"}})",
       kResearchBookMismatch},
      {"ES", "SPY", R"({"ok":true,"symbol":"ES","day":"2025-01-02","source":"SPY",
        "expiry_book":{"symbol":""}})",
       kResearchCaptured},
      {"NQ", "QQQ", R"({"ok":"true","symbol":"NQ","day":"2025-01-02","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"nq","day":"2025-01-02","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-03","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"([{"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ"}])",
       kResearchIdentityMismatch},
  };
  for (const auto& c : cases) {
    ResearchView view;
    const bool accepted =
        AcceptResearchResponse(&view, ResearchOf(c.answer), c.symbol, c.expectedSource, "2025-01-02");
    EXPECT_EQ(view.status, c.status) << c.answer;
    EXPECT_EQ(accepted, c.status == std::string(kResearchCaptured)) << c.answer;
    EXPECT_EQ(view.captured, accepted) << c.answer;
    EXPECT_EQ(view.research.symbol, accepted ? c.symbol : "") << c.answer;
  }
}

TEST(AcceptResearchResponse, ARefusedAnswerKeepsTheEarlierOne) {
  ResearchView view;
  ASSERT_TRUE(AcceptResearchResponse(&view, ResearchOf(R"({"ok":true,"symbol":"NQ",
      "day":"2025-01-02","source":"QQQ","history":{"note":"first"}})"),
                                     "NQ", "QQQ", "2025-01-02"));
  EXPECT_FALSE(AcceptResearchResponse(&view, ResearchOf(R"({"ok":false,"history":{"note":"x"}})"), "NQ",
                                      "QQQ", "2025-01-02"));
  EXPECT_TRUE(view.captured);
  EXPECT_EQ(view.status, kResearchIdentityMismatch);
  EXPECT_EQ(view.research.history.note, "first");
}

// What else a capture keeps is read back by the inspector's and the alerts' tests.
TEST(RecordLiveCapture, KeepsASaneTickSize) {
  const payload::LiveMap live = payload::testing::LiveMapOf(payload::testing::ReadAnswerFile("legacy.json"));
  const std::pair<double, double> cases[] = {
      {0.25, 0.25}, {0, 0}, {-0.25, 0}, {std::numeric_limits<double>::infinity(), 0}};
  for (const auto& [tick, kept] : cases) {
    ResearchView view;
    EXPECT_EQ(RecordLiveCapture(&view, live, "NQ", false, 300, tick, 1.7e12), "") << tick;
    EXPECT_EQ(view.tick_size, kept) << tick;
    EXPECT_EQ(view.last_live_capture.tick_size, kept) << tick;
  }
}

}  // namespace
}  // namespace research
