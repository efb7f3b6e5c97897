#include "live/capture_builder.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/answer_writer.h"
#include "engine/chain_reader.h"
#include "engine/engine.h"
#include "formats/typed_time.h"
#include "live/capture_test_support.h"
#include "platform/posix/posix_services.h"
#include "store/chain_digest.h"
#include "text/format.h"

namespace live {
namespace {

platform::Services& NewYork() { return platform::DefaultServices(); }

engine::OptionChain SampleChain(const char* file) {
  engine::OptionChain chain;
  std::string error;
  EXPECT_TRUE(engine::ReadChainText(testing::DataFile(std::string("chains/") + file), &chain, &error))
      << error;
  return chain;
}

double At(const char* text) {
  double seconds = 0;
  EXPECT_TRUE(formats::ParseTypedTime(text, NewYork(), &seconds)) << text;
  return seconds;
}

// The sample's own time, 2025-01-02 10:42:10 New York.
constexpr int64_t kSampleAsOf = 1735832530;

store::CaptureRecord Build(const engine::OptionChain& chain, const CaptureInputs& inputs) {
  store::CaptureRecord capture;
  std::string error;
  EXPECT_TRUE(BuildCapture(chain, inputs, NewYork(), &capture, &error)) << error;
  return capture;
}

TEST(CaptureBuilder, KeepsWhatTheEngineComputedFromTheJsonChain) {
  const engine::OptionChain chain = SampleChain("qqq_chain.json");
  const store::CaptureRecord capture = Build(chain, {"QQQ", kSampleAsOf + 5.75, {}, {}, {}, {}});
  engine::EngineAnswer answer;
  std::string error;
  ASSERT_TRUE(engine::RunEngine(chain, {}, NewYork(), &answer, &error)) << error;
  const store::CaptureSummary& s = capture.summary;
  EXPECT_EQ(s.id, 0);
  EXPECT_EQ(s.symbol, "QQQ");
  EXPECT_EQ(s.fetchedAt, kSampleAsOf + 5);
  EXPECT_EQ(s.asOf, kSampleAsOf) << "the chain's own time";
  EXPECT_EQ(s.sessionDate, "2025-01-02");
  EXPECT_DOUBLE_EQ(s.spot, 521.21);
  EXPECT_DOUBLE_EQ(s.rate, engine::kDefaultRate);
  EXPECT_DOUBLE_EQ(s.dividend, engine::kDefaultDividend);
  const engine::Levels& l = answer.levels;
  EXPECT_EQ(s.levels.callWall, std::optional<double>(l.callWall.value));
  EXPECT_EQ(s.levels.putWall, std::optional<double>(l.putWall.value));
  EXPECT_EQ(s.levels.gammaFlip.has_value(), l.gammaFlip.has);
  EXPECT_EQ(s.levels.maxPain, std::optional<double>(l.maxPain.value));
  EXPECT_DOUBLE_EQ(s.netGex, l.netGex);
  EXPECT_DOUBLE_EQ(s.netDex, l.netDex);
  EXPECT_EQ(s.chainDigest, store::ChainDigest(chain.asOfText, chain.contracts));
  EXPECT_EQ(capture.contracts.size(), chain.contracts.size())
      << "every parsed contract, for later selections";
  double gex = 0;
  for (const store::StrikeExposure& e : capture.exposures) gex += e.gex;
  EXPECT_NEAR(gex, s.netGex, 1e-6 * std::abs(s.netGex)) << "the exposures add up to the net";
  std::set<std::string> expirations;
  for (const store::StrikeExposure& e : capture.exposures) expirations.insert(e.expiration);
  EXPECT_EQ(std::vector<std::string>(expirations.begin(), expirations.end()), answer.priced.expirations)
      << "kept per expiration, every live one";
  const store::Provenance& p = s.provenance;
  EXPECT_EQ(text::Format("%s|%s|%s|%s|%s|%s|%s|%s", p.source, p.engine, p.conversionMethod,
                         text::RoundTripDouble(p.conversionRatio), p.scope, p.selectedExpiration,
                         p.sourceSnapshotTime, p.regime),
            text::Format("QQQ|%s|none|1|all_expirations||2025-01-02T15:42:10Z|%s", engine::kEngineName,
                         l.netGex >= 0 ? "positive_gamma" : "negative_gamma"));
}

// The provenance is what the levels answer of the configured future says about itself.
TEST(CaptureBuilder, ProvenanceReadsAsTheMappedAnswerPrintsIt) {
  const engine::OptionChain chain = SampleChain("qqq_chain.json");
  const struct {
    const char* name;
    engine::FuturesMapping future;
    double ratio;
  } cases[] = {
      {"fixed ratio", {engine::FuturesMapping::Source::kRatio, 41.25, 0, "NQ"}, 41.25},
      {"futures price", {engine::FuturesMapping::Source::kFuturePrice, 1, 21500, "NQ"}, 21500 / 521.21},
  };
  for (const auto& c : cases) {
    const store::CaptureRecord capture = Build(chain, {"QQQ", kSampleAsOf, {}, {}, {}, c.future});
    const store::Provenance& p = capture.summary.provenance;
    EXPECT_DOUBLE_EQ(p.conversionRatio, c.ratio) << c.name;
    engine::EngineSettings mapped;
    mapped.mapping = c.future;
    engine::EngineAnswer answer;
    std::string error;
    ASSERT_TRUE(engine::RunEngine(chain, mapped, NewYork(), &answer, &error)) << error;
    const std::string json = engine::LevelsAnswerJson(answer);
    for (const std::string& member :
         {"\"source\":\"" + p.source + "\"", "\"engine\":\"" + p.engine + "\"",
          "\"conversion_method\":\"" + p.conversionMethod + "\"", "\"scope\":\"" + p.scope + "\"",
          "\"selected_expiration\":\"" + p.selectedExpiration + "\"",
          "\"source_snapshot_time\":\"" + p.sourceSnapshotTime + "\"", "\"regime\":\"" + p.regime + "\"",
          "\"conversion_ratio\":" + text::RoundTripDouble(p.conversionRatio)}) {
      EXPECT_NE(json.find(member), std::string::npos) << c.name << ": " << member;
    }
    EXPECT_EQ(capture.summary.levels.callWall,
              Build(chain, {"QQQ", kSampleAsOf, {}, {}, {}, {}}).summary.levels.callWall)
        << c.name << ": levels stay in the underlying's units";
  }
}

// The CSV sample carries neither spot nor time: the spot comes from the configuration, the time
// is when the chain was fetched, and the levels are those of the JSON sample.
TEST(CaptureBuilder, ACsvChainTakesTheConfiguredSpotAndTheFetchTime) {
  const engine::OptionChain csv = SampleChain("qqq_chain.csv");
  const store::CaptureRecord capture = Build(csv, {"QQQ", double(kSampleAsOf), 521.21, 0.045, 0.0, {}});
  EXPECT_EQ(capture.summary.asOf, kSampleAsOf);
  EXPECT_EQ(capture.summary.provenance.sourceSnapshotTime, "2025-01-02T15:42:10Z");
  const store::CaptureRecord json =
      Build(SampleChain("qqq_chain.json"), {"QQQ", double(kSampleAsOf), {}, {}, {}, {}});
  EXPECT_EQ(capture.summary.levels.callWall, json.summary.levels.callWall);
  EXPECT_EQ(capture.summary.levels.putWall, json.summary.levels.putWall);
  EXPECT_DOUBLE_EQ(capture.summary.netGex, json.summary.netGex);
  EXPECT_NE(capture.summary.chainDigest, json.summary.chainDigest) << "the JSON chain's time is part of it";

  const store::CaptureRecord rates =
      Build(SampleChain("qqq_chain.json"), {"QQQ", double(kSampleAsOf), 520.0, 0.05, 0.01, {}});
  EXPECT_DOUBLE_EQ(rates.summary.spot, 520) << "the configured spot wins over the chain's";
  EXPECT_DOUBLE_EQ(rates.summary.rate, 0.05);
  EXPECT_DOUBLE_EQ(rates.summary.dividend, 0.01);
}

TEST(CaptureBuilder, ChainsThatGiveNoCapture) {
  const engine::OptionChain json = SampleChain("qqq_chain.json");
  const engine::OptionChain csv = SampleChain("qqq_chain.csv");
  const struct {
    const char* name;
    const engine::OptionChain& chain;
    CaptureInputs inputs;
    std::string error;  // its start
  } cases[] = {
      {"another underlying",
       json,
       {"SPY", double(kSampleAsOf), {}, {}, {}, {}},
       "the chain is of QQQ, not SPY"},
      {"no spot",
       csv,
       {"QQQ", double(kSampleAsOf), {}, {}, {}, {}},
       "the chain carries no spot price: configure spot, spot_url or spot_command"},
      {"fetched after every expiry",
       csv,
       {"QQQ", At("2026-01-05 10:00"), 521.21, {}, {}, {}},
       "no contract expires after the as-of time"},
      {"a bad ratio",
       json,
       {"QQQ", double(kSampleAsOf), {}, {}, {}, {engine::FuturesMapping::Source::kRatio, 0, 0, "NQ"}},
       "the futures price or ratio is not a number above 0"},
  };
  for (const auto& c : cases) {
    store::CaptureRecord capture;
    capture.summary.symbol = "untouched";
    std::string error;
    EXPECT_FALSE(BuildCapture(c.chain, c.inputs, NewYork(), &capture, &error)) << c.name;
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.name << ": " << error;
    EXPECT_EQ(capture.summary.symbol, "untouched") << c.name;
  }
}

}  // namespace
}  // namespace live
