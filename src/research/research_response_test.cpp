#include "research/research_response.h"

#include <gtest/gtest.h>

#include <limits>

#include "research/research_test_support.h"

namespace research {
namespace {

using testing::Json;

TEST(AcceptResearchResponse, ChecksTheIdentityOfTheAnswer) {
  const struct {
    const char* symbol;
    const char* expectedSource;
    const char* answer;
    const char* status;
  } cases[] = {
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ"})",
       kResearchCaptured},
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
      {"NQ", "QQQ", R"({"ok":1,"symbol":"NQ","day":"2025-01-02","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"symbol":"NQ","day":"2025-01-02","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"nq","day":"2025-01-02","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-03","source":"QQQ"})",
       kResearchIdentityMismatch},
      {"NQ", "QQQ", R"({"ok":true,"symbol":"NQ","day":"2025-01-02"})", kResearchIdentityMismatch},
      {"NQ", "QQQ", R"([{"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ"}])",
       kResearchIdentityMismatch},
  };
  for (const auto& c : cases) {
    ResearchView view;
    const bool accepted =
        AcceptResearchResponse(&view, Json(c.answer), c.symbol, c.expectedSource, "2025-01-02");
    EXPECT_EQ(view.status, c.status) << c.answer;
    EXPECT_EQ(accepted, c.status == std::string(kResearchCaptured)) << c.answer;
    EXPECT_EQ(view.captured, accepted) << c.answer;
    EXPECT_EQ(view.research.kind, accepted ? json::kObject : json::kNull) << c.answer;
  }
}

TEST(AcceptResearchResponse, ARefusedAnswerKeepsTheEarlierOne) {
  ResearchView view;
  ASSERT_TRUE(AcceptResearchResponse(
      &view, Json(R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ","n":1})"), "NQ",
      "QQQ", "2025-01-02"));
  EXPECT_FALSE(AcceptResearchResponse(&view, Json(R"({"ok":false})"), "NQ", "QQQ", "2025-01-02"));
  EXPECT_TRUE(view.captured);
  EXPECT_EQ(view.status, kResearchIdentityMismatch);
  double n = 0;
  EXPECT_TRUE(json::MemberNumber(view.research, "n", &n) && n == 1);
}

TEST(LiveCapture, TakesProvenanceFromTheRootAndLevelsFromTheBlock) {
  const json::Value root = Json(R"({
      "ok": true, "session_date": "", "locked_session": "2025-01-02", "resolved_symbol": "QQQ",
      "engine": "root-engine", "conversion_method": "", "scope": "root-scope",
      "source_snapshot_time": "2025-01-02T14:30:05Z", "conversion_ratio": "n/a",
      "display_levels": {"session_date": "2024-12-31", "source": "NDX", "engine": "",
        "conversion_method": "ratio", "scope": "block-scope", "selected_expiration": "2025-01-17",
        "source_snapshot_time": "old", "ts": 1, "regime": "negative_gamma",
        "conversion_ratio": 41.25, "call_wall": 21862.5, "put_wall": 21243.75,
        "gamma_flip": 21456.75, "net_gex": -1}})");
  const PositioningCapture c = LiveCapture(root, 0.25);
  EXPECT_EQ(c.session_date, "2025-01-02");
  EXPECT_EQ(c.source, "QQQ");
  EXPECT_EQ(c.engine, "root-engine");
  EXPECT_EQ(c.conversion_method, "ratio");
  EXPECT_EQ(c.scope, "root-scope");
  EXPECT_EQ(c.selected_expiration, "");
  EXPECT_EQ(c.source_snapshot_time, "2025-01-02T14:30:05Z");
  EXPECT_EQ(c.ts, 1735828205000.0);
  EXPECT_EQ(c.conversion_ratio, 41.25);
  EXPECT_EQ(c.regime, "negative_gamma");
  EXPECT_EQ(c.call_wall, 21862.5);
  EXPECT_EQ(c.net_gex, -1);
  EXPECT_EQ(c.tick_size, 0.25);
}

TEST(RecordLiveCapture, KeepsTheAnswerAndASaneTickSize) {
  const json::Value root = Json(testing::ReadAnswerFile("legacy.json"));
  const struct {
    double tick;
    double kept;
  } cases[] = {{0.25, 0.25}, {0, 0}, {-0.25, 0}, {std::numeric_limits<double>::infinity(), 0}};
  for (const auto& c : cases) {
    ResearchView view;
    EXPECT_EQ(RecordLiveCapture(&view, root, "NQ", false, 300, c.tick, 1.7e12), "") << c.tick;
    EXPECT_TRUE(view.has_live) << c.tick;
    EXPECT_EQ(view.live.kind, json::kObject) << c.tick;
    EXPECT_EQ(view.tick_size, c.kept) << c.tick;
    EXPECT_EQ(view.last_live_capture.tick_size, c.kept) << c.tick;
    EXPECT_EQ(view.last_live_capture.source, "QQQ") << c.tick;
    EXPECT_EQ(view.last_live_symbol, "NQ") << c.tick;
    EXPECT_FALSE(view.alerts_armed) << c.tick;
  }
}

}  // namespace
}  // namespace research
