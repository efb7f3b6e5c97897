// Test support for the answering side of the live service: a configuration carrying QQQ (mapped
// onto NQ) and SPX (mapped onto ES), a fresh store filled directly with captures the engine
// computes at chosen New York times, and the context the answers read.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/clock.h"
#include "engine/answer_writer.h"
#include "engine/chain_reader.h"
#include "formats/typed_time.h"
#include "live/answer_context.h"
#include "live/live_state.h"
#include "platform/posix/posix_services.h"
#include "service/fixture_catalogue.h"
#include "service/service_test_support.h"
#include "store/store_test_support.h"

namespace live::testing {

inline constexpr double kQqqRatio = 41.25;
inline constexpr double kSpxRatio = 1.0075;

// QQQ mapped onto NQ by a fixed ratio, SPX onto ES by a futures price.
inline LiveConfig TwoSymbolConfig() {
  LiveConfig config;
  SymbolConfig qqq;
  qqq.name = "QQQ";
  qqq.future = "NQ";
  qqq.futureRatio = {ValueSource::Kind::kNumber, kQqqRatio, {}, {}};
  SymbolConfig spx;
  spx.name = "SPX";
  spx.future = "ES";
  spx.futurePrice = {ValueSource::Kind::kUrl, 0, "http://127.0.0.1:1/es", {}};
  config.symbols = {qqq, spx};
  return config;
}

// Seconds since 1970 of a New York wall-clock time "2025-01-03 09:30"; fails the test for a
// text the time grammar refuses.
inline double NewYork(const std::string& wallClock) {
  double seconds = 0;
  EXPECT_TRUE(formats::ParseTypedTime(wallClock, platform::DefaultServices(), &seconds)) << wallClock;
  return seconds;
}

// The bundled QQQ sample chain.
inline const engine::OptionChain& SampleQqqChain() {
  static const engine::OptionChain chain = [] {
    engine::OptionChain c;
    std::string error;
    EXPECT_TRUE(engine::ReadChainFile(std::string(ORDINEL_DATA) + "/chains/qqq_chain.json", &c, &error))
        << error;
    return c;
  }();
  return chain;
}

// The capture the capture side keeps of `chain` as of New York `wallClock`, with `ratio` to its
// future.
inline store::CaptureRecord CaptureAt(engine::OptionChain chain, const std::string& wallClock, double ratio) {
  chain.asOfText = wallClock;
  const double asOf = NewYork(wallClock);
  store::CaptureRecord r = store::EngineCapture(chain, static_cast<int64_t>(asOf) + 2);
  r.summary.provenance.engine = engine::kEngineName;
  r.summary.provenance.conversionMethod = ratio == 1 ? "none" : "ratio";
  r.summary.provenance.conversionRatio = ratio;
  r.summary.provenance.sourceSnapshotTime = formats::UtcTimestampText(asOf);
  return r;
}

// `chain` with `extraOi` more call open interest at `strike` in every expiration that lists it:
// enough at one strike moves the call wall there.
inline engine::OptionChain WithCallOi(engine::OptionChain chain, double strike, double extraOi) {
  for (engine::OptionContract& c : chain.contracts) {
    if (c.kind == engine::OptionKind::kCall && c.strike == strike) c.openInterest += extraOi;
  }
  return chain;
}

// A fresh store, the clock and state the answers read, and the context around them.
class LiveFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = store::OpenOrFail(
        store::FreshStorePath(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    ASSERT_NE(store_, nullptr);
    context_ = {&config_, store_.get(), &clock_, &platform::DefaultServices(),
                [this](const std::string& line) { log_ += line + "\n"; }};
  }

  // Appends `capture` and moves the state's latest capture on, as the capture side does.
  int64_t Add(const store::CaptureRecord& capture) {
    const int64_t id = store::AppendOrFail(*store_, capture);
    state_.Update(capture.summary.symbol, [&](SymbolStatus& s) {
      s.latestCaptureId = id;
      s.latestCaptureAsOf = static_cast<double>(capture.summary.asOf);
    });
    return id;
  }

  LiveConfig config_ = TwoSymbolConfig();
  std::unique_ptr<store::CaptureStore> store_;
  chart::VirtualClock clock_;
  LiveState state_{{"QQQ", "SPX"}};
  AnswerContext context_;
  std::string log_;
};

// The request for `target` ("/path?query") by `method`, as the server hands it over.
inline service::FixtureRequest RequestFor(std::string_view target, const std::string& method = "GET") {
  return service::testing::RequestOf(method, target);
}

}  // namespace live::testing
