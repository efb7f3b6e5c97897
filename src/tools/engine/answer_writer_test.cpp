#include "engine/answer_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calendar/expiry_selection.h"
#include "engine/chain_reader.h"
#include "engine/engine_test_support.h"
#include "payload/payload_test_support.h"
#include "payload/served_selection.h"

namespace engine {
namespace {

const std::string kSampleCsv = std::string(ORDINEL_DATA) + "/chains/qqq_chain.csv";
const std::string kSampleJson = std::string(ORDINEL_DATA) + "/chains/qqq_chain.json";
// The CSV's time, which the JSON carries itself (data/chains/README.md).
constexpr const char* kSampleAsOf = "2025-01-02 10:42:10";

OptionChain Sample(const std::string& path) {
  OptionChain chain;
  std::string error;
  EXPECT_TRUE(ReadChainFile(path, &chain, &error)) << error;
  return chain;
}

EngineSettings CsvSettings() {
  EngineSettings s;
  s.hasSpot = true;
  s.spot = 521.21;
  s.asOf = kSampleAsOf;
  s.symbol = "QQQ";
  return s;
}

// As the writer rounds: to the tick when mapped, else to a ten-thousandth.
double Mapped(const Level& level, double ratio, double tick = 0) {
  return tick > 0 ? std::round(level.value * ratio / tick) * tick
                  : std::round(level.value * ratio * 1e4) / 1e4;
}

TEST(EngineAnswer, BothSampleFormatsGiveTheSameAnswer) {
  const EngineAnswer fromJson = RunOn(Sample(kSampleJson));
  const EngineAnswer fromCsv = RunOn(Sample(kSampleCsv), CsvSettings());
  EXPECT_EQ(fromJson.issues.count, 3u) << "two unreadable rows and one expired contract";
  EXPECT_EQ(fromCsv.issues.count, 3u);
  EXPECT_EQ(LevelsAnswerJson(fromJson), LevelsAnswerJson(fromCsv));
}

TEST(EngineAnswer, TheStudyReadsEveryLevelItShowsByDefault) {
  const EngineAnswer a = RunOn(Sample(kSampleJson));
  const payload::LevelsSnapshot s = payload::testing::ParseAnswer(LevelsAnswerJson(a));
  ASSERT_TRUE(s.valid);
  EXPECT_EQ(s.resolvedSymbol, "QQQ");
  EXPECT_EQ(s.requestedSymbol, "QQQ");
  EXPECT_EQ(s.sourceSnapshotTime, "2025-01-02T15:42:10Z");
  EXPECT_DOUBLE_EQ(s.spot.value, 521.21);
  const Levels& l = a.levels;
  struct Pair {
    const char* name;
    const payload::OptionalLevel& study;
    const Level& engine;
  };
  const Pair pairs[] = {
      {"call wall", s.callWall, l.callWall},
      {"put wall", s.putWall, l.putWall},
      {"gamma flip", s.gammaFlip, l.gammaFlip},
      {"vol trigger", s.volTrigger, l.volTrigger},
      {"zero gamma", s.zeroGammaModel, l.zeroGamma},
      {"max pain", s.maxPain, l.maxPain},
      {"zero DEX", s.zeroDex, l.zeroDex},
      {"call OI wall", s.callOiWall, l.callOiWall},
      {"put OI wall", s.putOiWall, l.putOiWall},
      {"vanna flip", s.vannaFlip, l.vannaFlip},
      {"charm flip", s.charmFlip, l.charmFlip},
      {"IV call wall", s.ivCallWall, l.ivCallWall},
      {"hybrid call wall", s.hybridCallWall, l.hybridCallWall},
      {"hybrid vol trigger", s.hybridVolTrigger, l.hybridVolTrigger},
  };
  for (const Pair& p : pairs) {
    ASSERT_TRUE(p.engine.has) << p.name;
    ASSERT_TRUE(p.study.has) << p.name;
    EXPECT_DOUBLE_EQ(p.study.value, Mapped(p.engine, 1)) << p.name;
  }
  EXPECT_EQ(s.focus[0].shortLabel, "MAG");
  EXPECT_TRUE(s.battleZone.valid && s.upsideCluster.valid && s.downsideCluster.valid);
  EXPECT_TRUE(s.emOneSigma.has && s.zeroGammaBand.has && s.densityBand.has);
  EXPECT_EQ(s.profileRows.size(), 10u);
  EXPECT_EQ(s.densityCount, payload::kMaxDensityLevels);
  EXPECT_EQ(s.densityPrice[0], s.callWall.value) << "touch levels sit exactly on the lines";
  EXPECT_TRUE(s.charmHedgeUsd.has && s.vannaHedgeUsdPerVolPoint.has && s.pressureZoneUpper.has);
  EXPECT_EQ(s.focusSummary, "Full - Focus: Balanced (3)");
  EXPECT_GT(s.vannaWallCount + s.vegaWallCount + s.charmZoneCount, 2u);
  EXPECT_FALSE(s.gexCells.empty() || s.charmCells.empty() || s.deltaCells.empty() || s.vannaCells.empty() ||
               s.vegaCells.empty() || s.gammaExposures.empty());
  // What a chain cannot know stays absent.
  EXPECT_FALSE(s.priorDayHigh.has || s.vwap.has || s.overnightHigh.has || s.netCum.has);
}

// Every mapped price lands on the futures chart's tick: the future's usual one, or the one
// given. The engine wrote 21862.59 on an NQ chart whose prices move in quarters.
TEST(EngineAnswer, RegressionMappingOntoAFuturesChartConvertsEveryPriceOntoItsTick) {
  struct Case {
    const char* name;
    FuturesMapping mapping;
    double ratio;
    double tick;
    const char* note;
  };
  const Case cases[] = {
      {"ratio",
       {FuturesMapping::Source::kRatio, 41.25, 0, ""},
       41.25,
       0.25,
       "NQ levels from QQQ strikes x 41.25 (the ratio given)."},
      {"futures price",
       {FuturesMapping::Source::kFuturePrice, 1, 21500, ""},
       21500 / 521.21,
       0.25,
       "NQ levels from QQQ strikes x 41.2502 (the NQ price 21500 and the QQQ spot 521.21)."},
      {"chart price",
       {FuturesMapping::Source::kChartPrice, 1, 21500, "NQZ25"},
       21500 / 521.21,
       0.25,
       "NQZ25 levels from QQQ strikes x 41.2502 (the chart's last price 21500 and the QQQ spot "
       "521.21)."},
      {"tick given",
       {FuturesMapping::Source::kRatio, 41.25, 0, "", 1},
       41.25,
       1,
       "NQ levels from QQQ strikes x 41.25 (the ratio given)."},
      {"future of unknown tick",
       {FuturesMapping::Source::kRatio, 2, 0, "MNQ"},
       2,
       0,
       "MNQ levels from QQQ strikes x 2 (the ratio given)."},
  };
  const OptionChain chain = Sample(kSampleJson);
  for (const Case& c : cases) {
    EngineSettings settings;
    settings.mapping = c.mapping;
    const EngineAnswer a = RunOn(chain, settings);
    const payload::LevelsSnapshot s = payload::testing::ParseAnswer(LevelsAnswerJson(a));
    EXPECT_EQ(s.requestedSymbol, c.mapping.symbol.empty() ? "NQ" : c.mapping.symbol) << c.name;
    EXPECT_EQ(s.conversionNote, c.note) << c.name;
    const double within = c.tick > 0 ? c.tick / 2 + 1e-9 : 1e-4;
    EXPECT_NEAR(s.spot.value, 521.21 * c.ratio, within) << c.name;
    EXPECT_DOUBLE_EQ(s.callWall.value, Mapped(a.levels.callWall, c.ratio, c.tick)) << c.name;
    EXPECT_NEAR(s.emOneSigma.value, a.levels.expectedMove.value * c.ratio, within) << c.name;
    if (c.tick == 0) continue;
    for (const payload::StrikeValue& pair : s.gammaExposures.pairs()) {
      EXPECT_EQ(std::remainder(pair.strike, c.tick), 0) << c.name << " strike " << pair.strike;
    }
    for (double price : {s.spot.value, s.putWall.value, s.gammaFlip.value, s.maxPain.value,
                         s.emOneSigma.value, s.battleZone.low, s.densityPrice[0]}) {
      EXPECT_EQ(std::remainder(price, c.tick), 0) << c.name << " price " << price;
    }
    EXPECT_DOUBLE_EQ(s.netGex.value, std::round(a.levels.netGex)) << "dollars do not scale";
  }
}

// A levels service stamps what the study reads of a locked map into the envelope; without a
// stamp the answer is what `ordinel engine` always wrote.
TEST(EngineAnswer, AServiceStampCarriesTheLockedFieldsAndTheBasis) {
  const EngineAnswer a = RunOn(Sample(kSampleJson));
  const std::string plain = LevelsAnswerJson(a);
  EXPECT_NE(plain.find("\"locked_mode\":false,\"locked_session\":\"\",\"chain\""), std::string::npos);
  EXPECT_FALSE(payload::testing::ParseAnswer(plain).locked);
  const ServiceStamp stamp{"signed_flow", true, "2025-01-02T14:30:00Z", 1735914600, "2025-01-02"};
  const std::string locked = LevelsAnswerJson(a, stamp);
  EXPECT_NE(locked.find("\"locked_mode\":true,\"locked_snapshot\":true,\"locked_captured_at\":"
                        "\"2025-01-02T14:30:00Z\",\"locked_refresh_after_unix\":1735914600,"
                        "\"locked_session\":\"2025-01-02\",\"requested_basis\":\"signed_flow\","
                        "\"basis\":\"settlement_oi\",\"chain\""),
            std::string::npos);
  const payload::LevelsSnapshot s = payload::testing::ParseAnswer(locked);
  EXPECT_TRUE(s.locked);
  EXPECT_EQ(s.lockedRefreshAfterUnix, 1735914600);
  EXPECT_EQ(s.lockedSession, "2025-01-02");
}

// Every expiry mode the study can ask for is answered with an echo its own check accepts.
TEST(EngineAnswer, EveryExpiryModePassesTheStudysSelectionCheck) {
  struct Case {
    unsigned modeIndex;
    const char* subset;
    const char* specific;
    ExpiryRequest request;
  };
  const Case cases[] = {
      {0, "", "", {"legacy", {}}},
      {1, "", "", {"multi", {}}},
      {1, "2025-01-17,2025-01-18", "", {"multi", {"2025-01-17", "2025-01-18"}}},
      {2, "", "2025-03-21", {"specific", {"2025-03-21"}}},
      {3, "", "", {"0dte", {}}},
  };
  const OptionChain chain = Sample(kSampleJson);
  for (const Case& c : cases) {
    EngineSettings settings;
    settings.expiry = c.request;
    const std::string answer = LevelsAnswerJson(RunOn(chain, settings));
    const calendar::ExpirySelection selection =
        calendar::BuildExpirySelection(c.modeIndex, c.subset, c.specific, "2025-01-02");
    ASSERT_TRUE(selection.valid) << c.request.mode;
    EXPECT_TRUE(calendar::ResponseSelectionMatches(
        payload::ReadServedSelection(payload::testing::Json(answer)), selection))
        << c.request.mode << " " << c.subset << c.specific;
    EXPECT_TRUE(payload::testing::ParseAnswer(answer).callWall.has) << c.request.mode;
  }
}

TEST(EngineAnswer, UnservableRequestsAreErrorsNotEmptyAnswers) {
  struct Case {
    const char* name;
    OptionChain chain;
    EngineSettings settings;
    const char* error;
  };
  OptionChain noRows = Sample(kSampleJson);
  noRows.contracts.clear();
  EngineSettings noSpot, badRatio, late, lateNow;
  badRatio.mapping = {FuturesMapping::Source::kRatio, -2, 0, ""};
  late.asOf = "2026-12-07 12:00";
  lateNow = late;
  lateNow.asOfNote = "now; give --as-of";
  OptionChain csvLike = Sample(kSampleJson);
  csvLike.hasSpot = false;
  const Case cases[] = {
      {"no usable row", noRows, {}, "no usable contract in the chain (2 rows skipped)"},
      {"no spot", csvLike, noSpot, "the chain carries no spot price and none was given"},
      {"after the last expiration", Sample(kSampleJson), late,
       "no contract expires after the as-of time 2026-12-07 12:00:00 New York time; the chain's last "
       "expiration "
       "is 2025-12-19"},
      {"after the last expiration, as-of chosen", Sample(kSampleJson), lateNow,
       "no contract expires after the as-of time 2026-12-07 12:00:00 New York time (now; give --as-of); the "
       "chain's last expiration is 2025-12-19"},
      {"negative ratio", Sample(kSampleJson), badRatio,
       "the conversion ratio (or the price it comes from) must be a number above 0"},
  };
  for (const Case& c : cases) {
    EngineAnswer answer;
    std::string error;
    EXPECT_FALSE(RunEngine(c.chain, c.settings, platform::DefaultServices(), &answer, &error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
}

TEST(EngineAnswer, ExpiredContractsAreSkippedAndCounted) {
  const OptionChain chain = ChainOf({{"2025-01-02", 100, true, 10, 0.2},
                                     {"2025-01-03", 100, true, 10, 0.2},
                                     {"2025-01-03", 100, false, 10, 0.2}},
                                    100, "2025-01-02 16:00:01");
  const EngineAnswer a = RunOn(chain);
  EXPECT_EQ(a.priced.contracts.size(), 2u);
  EXPECT_EQ(a.issues.count, 1u);
  ASSERT_EQ(a.issues.firstFew.size(), 1u);
  EXPECT_EQ(a.issues.firstFew[0], "2025-01-02 call 100: expired before the as-of time");
  // One second before the close the same contract is priced with one minute left.
  const EngineAnswer atClose =
      RunOn(ChainOf({{"2025-01-02", 100, true, 10, 0.2}}, 100, "2025-01-02 15:59:59"));
  ASSERT_EQ(atClose.priced.contracts.size(), 1u);
  EXPECT_EQ(atClose.priced.contracts[0].years, kMinYears);
}

}  // namespace
}  // namespace engine
