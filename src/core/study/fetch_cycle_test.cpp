#include "study/fetch_cycle.h"

#include <gtest/gtest.h>

#include "study/driver_test_support.h"
#include "study/input_table.h"

namespace study {
namespace {

constexpr const char* kLevelsUrl =
    "https://levels.ordinel.app/extension/levels?symbol=NQ&mode=locked&basis=signed_flow";
constexpr const char* kVixUrl =
    "https://query1.finance.yahoo.com/v8/finance/chart/%5EVIX?interval=1d&range=5d";
constexpr const char* kQqqUrl = "https://query1.finance.yahoo.com/v8/finance/chart/QQQ?interval=1d&range=1mo";
constexpr const char* kVixAnswer = R"({"chart":{"result":[{"meta":{"regularMarketPrice":17.2}}]}})";

TEST(FetchCycle, FirstCallSendsTheLevelsRequestWithBodyAndHeaders) {
  DriverHarness h;
  h.Call(kT0);
  ASSERT_EQ(h.Requests(), 1u);
  const auto& r = h.sc.requests[0];
  EXPECT_EQ(r.url, kLevelsUrl);
  EXPECT_EQ(r.body, "{}");
  const host::HttpHeaders expected = {{"Content-Type", "application/json"},
                                      {"Accept", "application/json"},
                                      {"User-Agent", "Ordinel-Sierra/4.7.1"}};
  EXPECT_EQ(r.headers, expected);
  h.Call(kT0 + 5);  // nothing arrived yet: keep waiting, send nothing
  EXPECT_EQ(h.Requests(), 1u);
}

TEST(FetchCycle, LevelsUrlCarriesModeExtendedSourceBasisAndExpiryTail) {
  DriverHarness h;
  h.Set(kRequestedSymbol, 2);  // ES
  h.Set(kSnapshotMode, 1);
  h.Set(kExtendedLevels, 1);
  h.Set(kGexBasis, 2);
  h.Set(kEsOptionsSource, 1);
  h.SetText(kApiBaseUrl, " http://127.0.0.1:8080/ ");
  h.Call(kT0);
  EXPECT_EQ(h.LastUrl(),
            "http://127.0.0.1:8080/extension/levels?symbol=ES&extended=1&basis=estimated_oi&source=SPX");

  DriverHarness multi;
  multi.Set(kCoreExpirations, 1);
  multi.Set(kExtendedLevels, 1);  // not sent outside legacy mode
  multi.SetText(kCoreMultiSubset, "2025-01-24, 2025-01-17");
  multi.Call(kT0);
  EXPECT_EQ(multi.LastUrl(),
            "https://levels.ordinel.app/extension/levels?symbol=NQ&mode=locked"
            "&basis=signed_flow&expiry_mode=multi&expiries=2025-01-17,2025-01-24");
}

TEST(FetchCycle, AnswersChainTheVixThenTheQqqRequest) {
  DriverHarness h;
  h.Call(kT0);
  h.Answer(LevelsAnswer(21500), kT0 + 2);
  EXPECT_EQ(h.State().statusLine, "Levels loaded via NQ.");
  ASSERT_EQ(h.Requests(), 2u);
  EXPECT_EQ(h.LastUrl(), kVixUrl);
  EXPECT_TRUE(h.sc.requests.back().body.empty());
  h.Answer(kVixAnswer, kT0 + 4);
  EXPECT_TRUE(h.State().vixLevel.has);
  EXPECT_EQ(h.State().vixLevel.value, 17.2);
  ASSERT_EQ(h.Requests(), 3u);
  EXPECT_EQ(h.LastUrl(), kQqqUrl);
}

TEST(FetchCycle, HeldLockedCaptureSendsNothingUntilFarAhead) {
  const std::pair<double, size_t> cases[] = {{kT0 + 3600, 1}, {kT0 + 4 * 86400, 2}};
  for (const auto& [refreshAfter, requestsAfterAnswer] : cases) {
    DriverHarness h;
    h.Call(kT0);
    h.Answer(LevelsAnswer(21500, R"(,"locked_snapshot":true,"locked_captured_at":"x",)"
                                 R"("locked_refresh_after_unix":)" +
                                     std::to_string(refreshAfter)),
             kT0 + 2);
    EXPECT_TRUE(h.State().snapshot.locked);
    EXPECT_EQ(h.Requests(), requestsAfterAnswer) << refreshAfter - kT0;
  }
}

TEST(FetchCycle, RefreshIntervalIsMeasuredFromTheAnswer) {
  DriverHarness h;
  h.Set(kRefreshInterval, 600);
  h.LoadMap();  // answered at kT0 + 1
  h.Call(kT0 + 600);
  EXPECT_EQ(h.Requests(), 1u);
  h.Call(kT0 + 601);
  EXPECT_EQ(h.Requests(), 2u);
}

TEST(FetchCycle, LateLevelsAnswerTimesOutAfter45Seconds) {
  DriverHarness h;
  h.Set(kFearScore, 0);
  h.Call(kT0);
  h.Call(kT0 + 45);
  EXPECT_TRUE(h.State().errorLine.empty());
  h.Call(kT0 + 46);
  EXPECT_EQ(h.State().errorLine,
            "Live levels are taking longer than usual. Retrying - your last levels stay on the chart.");
  EXPECT_EQ(h.State().nextLevelsFetch, kT0 + 46 + 180);
  EXPECT_EQ(h.ShownLogLines(), 1u);
  h.Call(kT0 + 50);  // the same error line is not logged again
  EXPECT_EQ(h.ShownLogLines(), 1u);
}

// An answer that cannot be used leaves the last good map drawn: one that cannot be read is
// logged and retried soon, one read and refused waits for the refresh interval.
TEST(FetchCycle, UnusableAnswersKeepTheLastGoodMap) {
  const std::string huge = LevelsAnswer(21700) + std::string(kMaxAnswerBytes, ' ');
  const struct {
    const char* name;
    std::string body, error, logged;
    double retryAfter;
  } cases[] = {
      // At most 240 bytes of the reply, line ends shown as spaces.
      {"not JSON", "<html>\r\n<body>" + std::string(300, 'x') + "</body></html>",
       "API response was not valid JSON - see the Message Log for what came back. Retrying.",
       "Ordinel: step 4 answered 328 bytes that are not JSON. Start of the reply: <html>  <body>" +
           std::string(226, 'x'),
       30},
      {"over the size limit", huge, kAnswerTooLargeError,
       "Ordinel: step 4 answered " + std::to_string(huge.size()) +
           " bytes, more than the 8388608 the study reads; nothing of it was read.",
       30},
      {"NQ-derived map on the SPX options source", LevelsAnswer(21700),
       "SPX source unavailable: no SPX-derived ES map returned.", "", 180},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DriverHarness h;
    h.Set(kRequestedSymbol, 2);
    h.Set(kEsOptionsSource, 1);
    h.LoadMap(R"({"ok":true,"connected":true,"resolved_symbol":"SPX",
                  "display_levels":{"spot":21500,"call_wall":21700}})");
    ASSERT_TRUE(h.State().snapshot.valid);
    h.Call(kT0 + 181);
    h.Answer(c.body, kT0 + 182);
    EXPECT_EQ(h.State().errorLine, c.error);
    EXPECT_EQ(h.State().nextLevelsFetch, kT0 + 182 + c.retryAfter);
    EXPECT_TRUE(h.State().snapshot.valid);
    EXPECT_EQ(h.State().snapshot.spot.value, 21500) << "the last good map stays";
    if (c.logged.empty()) continue;
    ASSERT_GE(h.sc.log.size(), 2u);
    EXPECT_EQ(h.sc.log[h.sc.log.size() - 2].text, c.logged);
    EXPECT_TRUE(h.sc.log[h.sc.log.size() - 2].show);
  }
}

// The answer document keeps its buffers from one refresh to the next, empty between answers,
// and gives them back after an answer that needed more than the kept bound.
TEST(FetchCycle, AnswerDocumentKeepsItsBuffersUnlessAnAnswerWasUnusuallyLarge) {
  DriverHarness h;
  h.LoadMap();
  const json::Document& document = h.State().answerDocument;
  EXPECT_TRUE(document.empty());
  const size_t kept = document.HeapBytes();
  EXPECT_GT(kept, 0u);
  h.Call(kT0 + 181);
  h.Answer(LevelsAnswer(21600), kT0 + 182);
  EXPECT_EQ(document.HeapBytes(), kept) << "an answer of the same shape reuses the buffers";

  std::string padding = ",\"padding\":[0";
  while (padding.size() < kKeptAnswerDocumentBytes / 8) padding += ",0";  // 16-byte slot each
  padding += "]";
  h.Call(kT0 + 363);
  h.Answer(LevelsAnswer(21700, padding), kT0 + 364);
  EXPECT_EQ(h.State().snapshot.spot.value, 21700);
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(document.HeapBytes(), 0u) << "the buffers of an unusually large answer go back";

  h.Call(kT0 + 545);
  h.Answer(LevelsAnswer(21800), kT0 + 546);
  EXPECT_EQ(h.State().snapshot.spot.value, 21800);
  EXPECT_GT(document.HeapBytes(), 0u);
  EXPECT_LE(document.HeapBytes(), kKeptAnswerDocumentBytes);
}

TEST(FetchCycle, AnswerToAnOldFetchKeyIsDroppedAndTheNewRequestGoesOut) {
  DriverHarness h;
  h.Call(kT0);
  h.Set(kRequestedSymbol, 2);  // switch to ES while the NQ request is in flight
  h.Call(kT0 + 1);
  EXPECT_EQ(h.Requests(), 1u);
  h.Answer(LevelsAnswer(21500), kT0 + 2);
  EXPECT_FALSE(h.State().snapshot.valid);
  ASSERT_EQ(h.Requests(), 2u);
  EXPECT_NE(h.LastUrl().find("symbol=ES"), std::string::npos);
}

TEST(FetchCycle, RefusedRequestsRetryAfterTheirDelays) {
  DriverHarness h;
  h.sc.acceptRequests = false;
  h.Call(kT0);
  EXPECT_EQ(h.State().errorLine,
            "Could not send the request to the Ordinel API - check that this Sierra Chart install allows "
            "outbound HTTPS for custom studies. Retrying.");
  EXPECT_EQ(h.State().nextLevelsFetch, kT0 + 15);
  h.State().nextLevelsFetch = kT0 + 1000;
  h.Call(kT0 + 1);
  EXPECT_EQ(h.State().nextVixFetch, kT0 + 1 + 60);
}

}  // namespace
}  // namespace study
