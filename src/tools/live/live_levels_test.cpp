#include "live/live_levels.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/expiry_selection.h"
#include "engine/engine_test_support.h"
#include "engine/synthetic_chain.h"
#include "live/live_test_support.h"
#include "payload/payload_test_support.h"
#include "payload/served_selection.h"

namespace live {
namespace {

using testing::CaptureAt;
using testing::kQqqRatio;
using testing::kSpxRatio;
using testing::RequestFor;
using testing::SampleQqqChain;

constexpr const char* kSampleTime = "2025-01-02 10:42:10";  // the sample chain's own

engine::OptionChain SpxChain() {
  engine::OptionChain chain = engine::SyntheticChain(1200, 5900);
  chain.underlying = "SPX";
  return chain;
}

// The study's reading of an answer it accepts; a refused one fails the test.
payload::LevelsSnapshot Accepted(const service::FixtureAnswer& answer) {
  EXPECT_EQ(answer.status, 200);
  return payload::testing::ParseAnswer(answer.body);
}

// The study's status line for an answer it refuses.
std::string Refused(const service::FixtureAnswer& answer) {
  payload::LevelsSnapshot snapshot;
  std::string status;
  EXPECT_FALSE(payload::ParseLevelsResponse(payload::testing::Json(answer.body), 10, &snapshot, &status));
  return status;
}

class LiveLevels : public testing::LiveFixture {
 protected:
  service::FixtureAnswer Levels(const std::string& query) {
    return AnswerLevels(context_, RequestFor("/extension/levels?" + query, "POST"));
  }
};

TEST_F(LiveLevels, EachCarriedSymbolInItsOwnPricesOrMappedOntoItsFuture) {
  Add(CaptureAt(SampleQqqChain(), kSampleTime, kQqqRatio));
  Add(CaptureAt(SpxChain(), kSampleTime, kSpxRatio));
  const struct {
    const char* query;
    const char* requested;
    const char* resolved;
    double ratio;
    double spot;  // in the underlying's units
    double tick;  // the mapped prices' tick; 0: to a ten-thousandth
  } cases[] = {
      {"symbol=QQQ&basis=signed_flow", "QQQ", "QQQ", 1, 521.21, 0},
      {"symbol=NQ&basis=signed_flow", "NQ", "QQQ", kQqqRatio, 521.21, 0.25},
      {"symbol=SPX&basis=signed_flow", "SPX", "SPX", 1, 5900, 0},
      {"symbol=ES&basis=signed_flow&source=SPX", "ES", "SPX", kSpxRatio, 5900, 0.25},
      {"symbol=ES&basis=signed_flow", "ES", "SPX", kSpxRatio, 5900, 0.25},
  };
  for (const auto& c : cases) {
    const payload::LevelsSnapshot s = Accepted(Levels(c.query));
    EXPECT_EQ(s.requestedSymbol, c.requested) << c.query;
    EXPECT_EQ(s.resolvedSymbol, c.resolved) << c.query;
    EXPECT_NEAR(s.spot.value, c.spot * c.ratio, c.tick > 0 ? c.tick / 2 : 1e-4) << c.query;
    if (c.tick > 0) {
      EXPECT_EQ(std::remainder(s.spot.value, c.tick), 0) << c.query;
    }
    EXPECT_TRUE(s.callWall.has && s.putWall.has && s.gammaFlip.has) << c.query;
    EXPECT_FALSE(s.locked) << c.query;
  }
  EXPECT_EQ(Accepted(Levels("symbol=ES&basis=signed_flow"))
                .conversionNote.find("ES levels from SPX strikes x 1.0075 (the ES price"),
            0u)
      << "a ratio that came from a futures price says so";
}

// The capture keeps what the engine needs to answer again exactly as `ordinel engine` answers
// the chain itself.
TEST_F(LiveLevels, AStoredCaptureAnswersAsTheEngineAnswersItsChain) {
  engine::OptionChain chain = SampleQqqChain();
  chain.issues = {};  // what the reader skipped is not stored
  Add(CaptureAt(chain, kSampleTime, kQqqRatio));
  engine::EngineSettings mapped;
  mapped.mapping = {engine::FuturesMapping::Source::kRatio, kQqqRatio, 0, "NQ"};
  engine::ServiceStamp stamp;
  stamp.requestedBasis = "settlement_oi";
  for (const auto& [query, settings] : {std::pair{"symbol=QQQ&basis=settlement_oi", engine::EngineSettings{}},
                                        std::pair{"symbol=NQ&basis=settlement_oi", mapped}}) {
    const std::string expected = engine::LevelsAnswerJson(engine::RunOn(chain, settings), stamp);
    EXPECT_EQ(Levels(query).body, expected) << query;
  }
}

TEST_F(LiveLevels, EveryBasisTokenGetsTheEnginesOneModelAndSaysSo) {
  Add(CaptureAt(SampleQqqChain(), kSampleTime, kQqqRatio));
  const std::string reference = Levels("symbol=NQ&basis=settlement_oi").body;
  for (const char* basis : {"signed_flow", "settlement_oi", "estimated_oi", ""}) {
    const std::string query = std::string("symbol=NQ") + (*basis ? "&basis=" : "") + basis;
    const std::string body = Levels(query).body;
    const std::string echoed = *basis ? basis : kDefaultBasis;
    EXPECT_NE(body.find("\"requested_basis\":\"" + echoed + "\",\"basis\":\"settlement_oi\""),
              std::string::npos)
        << query;
    std::string same = body;
    same.replace(same.find(echoed), echoed.size(), "settlement_oi");
    EXPECT_EQ(same, reference) << query << ": only the echo differs";
  }
  EXPECT_EQ(Refused(Levels("symbol=NQ&basis=gamma")).substr(0, 38), "Levels unavailable (invalid_basis): Th");
}

TEST_F(LiveLevels, RefusalsAreEnvelopesTheStudyShows) {
  Add(CaptureAt(SampleQqqChain(), kSampleTime, kQqqRatio));
  const std::string carried = "This service carries QQQ, NQ (from QQQ), SPX, ES (from SPX); not ";
  const struct {
    const char* query;
    std::string status;
  } cases[] = {
      {"basis=signed_flow", "Levels unavailable (missing_symbol): The request names no symbol."},
      {"symbol=GC&basis=signed_flow", "Levels unavailable (symbol_not_supported): " + carried + "'GC'."},
      {"symbol=nq&basis=signed_flow", "Levels unavailable (symbol_not_supported): " + carried + "'nq'."},
      {"symbol=NQ&basis=signed_flow&source=SPX",
       "Levels unavailable (symbol_not_supported): " + carried + "'NQ'."},
      {"symbol=SPX&basis=signed_flow",
       "Levels unavailable (no_capture): No capture of SPX yet: its levels follow the first one."},
      {"symbol=NQ&basis=signed_flow&expiry_mode=weekly", "Levels unavailable (invalid_expiry_selection): "},
  };
  for (const auto& c : cases) {
    const std::string status = Refused(Levels(c.query));
    EXPECT_EQ(status.substr(0, c.status.size()), c.status) << c.query << " gave " << status;
  }
  EXPECT_EQ(log_, "") << "refusals are the client's business";
}

TEST_F(LiveLevels, EachExpiryModeOfTheTailPassesTheStudysSelectionCheck) {
  Add(CaptureAt(SampleQqqChain(), kSampleTime, kQqqRatio));
  const struct {
    unsigned mode;
    const char* subset;
    const char* specific;
  } cases[] = {
      {0, "", ""}, {1, "", ""}, {1, "2025-01-17,2025-01-10", ""}, {2, "", "2025-03-21"}, {3, "", ""}};
  for (const auto& c : cases) {
    const calendar::ExpirySelection selection =
        calendar::BuildExpirySelection(c.mode, c.subset, c.specific, "2025-01-02");
    const std::string query = "symbol=NQ&basis=signed_flow" + calendar::ExpiryQueryString(selection);
    const service::FixtureAnswer answer = Levels(query);
    EXPECT_TRUE(calendar::ResponseSelectionMatches(
        payload::ReadServedSelection(payload::testing::Json(answer.body)), selection))
        << query;
    EXPECT_TRUE(Accepted(answer).callWall.has) << query;
  }
}

// The locked map as the study reads it, while the store grows as a running service's would.
TEST_F(LiveLevels, LockedMapsFollowTheSessionsOpen) {
  const engine::OptionChain open = SampleQqqChain();
  const engine::OptionChain later = testing::WithCallOi(open, 540, 400000);
  struct Step {
    const engine::OptionChain* add;  // captured at `addAt` first, or null
    const char* addAt;
    const char* now;
    const char* lockedAt;  // New York time of the locked capture; null: not locked
    const char* session;
    double refresh;
  };
  const Step steps[] = {
      {nullptr, "", "2025-01-02 09:00", nullptr, "", 0},                // no capture yet
      {&open, "2025-01-02 08:00", "2025-01-02 09:00", nullptr, "", 0},  // only before the open
      {&open, "2025-01-02 09:30", "2025-01-02 09:30", "2025-01-02 09:30", "2025-01-02", 1735914600},
      {&later, "2025-01-02 12:00", "2025-01-02 12:01", "2025-01-02 09:30", "2025-01-02", 1735914600},
  };
  for (const Step& step : steps) {
    if (step.add != nullptr) Add(CaptureAt(*step.add, step.addAt, kQqqRatio));
    clock_.Set(testing::NewYork(step.now));
    const service::FixtureAnswer answer = Levels("symbol=NQ&mode=locked&basis=signed_flow");
    if (step.add == nullptr && step.lockedAt == nullptr) {
      EXPECT_EQ(Refused(answer).substr(0, 32), "Levels unavailable (no_capture):") << step.now;
      continue;
    }
    const payload::LevelsSnapshot s = Accepted(answer);
    const payload::LevelsSnapshot latest = Accepted(Levels("symbol=NQ&basis=signed_flow"));
    if (step.lockedAt == nullptr) {
      EXPECT_FALSE(s.locked) << step.now << ": the latest map, not locked, until a session opens";
      EXPECT_EQ(s.sourceSnapshotTime, latest.sourceSnapshotTime) << step.now;
      continue;
    }
    EXPECT_TRUE(s.locked) << step.now;
    EXPECT_EQ(s.sourceSnapshotTime, formats::UtcTimestampText(testing::NewYork(step.lockedAt))) << step.now;
    EXPECT_EQ(s.lockedSession, step.session) << step.now;
    EXPECT_EQ(s.lockedRefreshAfterUnix, step.refresh) << step.now;
  }
  const payload::LevelsSnapshot locked = Accepted(Levels("symbol=NQ&mode=locked&basis=signed_flow"));
  const payload::LevelsSnapshot latest = Accepted(Levels("symbol=NQ&basis=signed_flow"));
  EXPECT_NE(locked.callWall.value, latest.callWall.value) << "the later capture moved the call wall";
  EXPECT_DOUBLE_EQ(latest.callWall.value, 540 * kQqqRatio);
}

TEST_F(LiveLevels, AnswerKeysDifferByWhatShapesTheAnswer) {
  clock_.Set(testing::NewYork("2025-01-03 09:29"));
  const auto key = [&](const char* query) {
    return LevelsAnswerKey(context_, RequestFor(std::string("/x?") + query));
  };
  EXPECT_EQ(key("symbol=NQ&basis=a"), key("basis=a&symbol=NQ")) << "the order of the query";
  EXPECT_NE(key("symbol=NQ&symbol=ES"), key("symbol=ES&symbol=NQ")) << "the first of a repeated name counts";
  EXPECT_NE(key("symbol=NQ&expiries="), key("symbol=NQ")) << "an empty value is no missing one";
  EXPECT_NE(key("symbol=N&Q="), key("symbol=NQ=")) << "no two queries run together";
  const std::string before = key("symbol=NQ&mode=locked");
  clock_.Set(testing::NewYork("2025-01-03 09:30"));
  EXPECT_NE(key("symbol=NQ&mode=locked"), before) << "the session in force turned";
  EXPECT_EQ(key("symbol=NQ"), key("symbol=NQ")) << "a map that is not locked does not turn with it";
}

}  // namespace
}  // namespace live
