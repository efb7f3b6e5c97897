#include "live/live_health.h"

#include <gtest/gtest.h>

#include "live/live_test_support.h"

namespace live {
namespace {

constexpr double kNow = 1735832530;  // 2025-01-02T15:42:10Z

std::vector<SymbolStatus> Statuses() {
  SymbolStatus qqq;
  qqq.symbol = "QQQ";
  qqq.latestCaptureId = 12;
  qqq.latestCaptureAsOf = kNow - 40;
  qqq.lastSuccessAt = kNow - 30;
  qqq.lastAttemptAt = kNow - 30;
  qqq.nextAttemptAt = kNow + 30;
  qqq.captures = 11;
  qqq.unchanged = 2;
  qqq.fetchSeconds = 3.25;
  qqq.computeSeconds = 0.5;
  SymbolStatus spx;
  spx.symbol = "SPX";
  spx.lastAttemptAt = kNow - 5;
  spx.lastError = "chain request failed: HTTP 503";
  spx.lastErrorAt = kNow - 5;
  spx.consecutiveFailures = 3;
  spx.failures = 3;
  SymbolStatus ndx;
  ndx.symbol = "NDX";
  return {qqq, spx, ndx};
}

TEST(LiveHealth, SaysPerSymbolHowItsCapturesFare) {
  const service::FixtureAnswer answer = AnswerHealth(testing::TwoSymbolConfig(), Statuses(), kNow);
  EXPECT_EQ(answer.status, 503) << "a failing symbol";
  EXPECT_EQ(answer.contentType, "application/json");
  const std::string expected = R"({
  "ok": false,
  "now": "2025-01-02T15:42:10Z",
  "symbols": [
    {
      "symbol": "QQQ",
      "future": "NQ",
      "status": "ok",
      "last_success_at": "2025-01-02T15:41:40Z",
      "last_success_age_seconds": 30,
      "latest_capture_id": 12,
      "latest_capture_as_of": "2025-01-02T15:41:30Z",
      "latest_capture_age_seconds": 40,
      "last_attempt_at": "2025-01-02T15:41:40Z",
      "next_attempt_at": "2025-01-02T15:42:40Z",
      "last_error": "",
      "last_error_at": null,
      "consecutive_failures": 0,
      "captures": 11,
      "unchanged": 2,
      "failures": 0
    },
    {
      "symbol": "SPX",
      "future": "ES",
      "status": "failing",
      "last_success_at": null,
      "last_success_age_seconds": null,
      "latest_capture_id": 0,
      "latest_capture_as_of": null,
      "latest_capture_age_seconds": null,
      "last_attempt_at": "2025-01-02T15:42:05Z",
      "next_attempt_at": null,
      "last_error": "chain request failed: HTTP 503",
      "last_error_at": "2025-01-02T15:42:05Z",
      "consecutive_failures": 3,
      "captures": 0,
      "unchanged": 0,
      "failures": 3
    },
)";
  EXPECT_EQ(answer.body.substr(0, expected.size()), expected);
  EXPECT_NE(answer.body.find("\"symbol\": \"NDX\",\n      \"future\": \"\",\n      \"status\": \"waiting\""),
            std::string::npos);
  std::vector<SymbolStatus> healthy = Statuses();
  healthy[1].consecutiveFailures = 0;
  EXPECT_EQ(AnswerHealth(testing::TwoSymbolConfig(), healthy, kNow).status, 200) << "waiting is no failure";
}

TEST(LiveMetrics, TheSameAndTheRequestsAsPrometheusText) {
  RequestCounts counts;
  counts.Add("/extension/levels", 200);
  counts.Add("/extension/levels", 200);
  counts.Add("other", 404);
  counts.Add("a\"b\\c\nd", 500);
  const service::FixtureAnswer answer = AnswerMetrics(Statuses(), counts.Snapshot(), kNow);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.contentType, "text/plain; version=0.0.4; charset=utf-8");
  for (const char* line : {
           "# HELP ordinel_live_captures_total Captures added to the store by this run.\n"
           "# TYPE ordinel_live_captures_total counter\n"
           "ordinel_live_captures_total{symbol=\"QQQ\"} 11\n"
           "ordinel_live_captures_total{symbol=\"SPX\"} 0\n"
           "ordinel_live_captures_total{symbol=\"NDX\"} 0\n",
           "ordinel_live_failures_total{symbol=\"SPX\"} 3\n",
           "ordinel_live_fetch_seconds_total{symbol=\"QQQ\"} 3.25\n",
           "ordinel_live_compute_seconds_total{symbol=\"QQQ\"} 0.5\n",
           "ordinel_live_consecutive_failures{symbol=\"SPX\"} 3\n",
           "# TYPE ordinel_live_last_success_timestamp_seconds gauge\n"
           "ordinel_live_last_success_timestamp_seconds{symbol=\"QQQ\"} 1735832500\n"
           "# HELP",  // no series for the symbols that never succeeded
           "ordinel_live_last_success_age_seconds{symbol=\"QQQ\"} 30\n",
           "ordinel_live_requests_total{path=\"/extension/levels\",status=\"200\"} 2\n",
           "ordinel_live_requests_total{path=\"other\",status=\"404\"} 1\n",
           "ordinel_live_requests_total{path=\"a\\\"b\\\\c\\nd\",status=\"500\"} 1\n",
       }) {
    EXPECT_NE(answer.body.find(line), std::string::npos) << line << "\nin\n" << answer.body;
  }
}

}  // namespace
}  // namespace live
