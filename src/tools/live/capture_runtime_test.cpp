#include "live/capture_runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "live/capture_test_support.h"
#include "store/sqlite_capture_store.h"
#include "text/format.h"

namespace live {
namespace {

// 2025-01-02 10:42:10 New York, the sample chain's own time.
constexpr double kSampleAsOf = 1735832530;

// A configuration of one or more symbols read from files of a test folder, a store beside them,
// the state, a scripted clock and the log lines; CaptureNow makes each attempt.
class CaptureRuntimeTest : public ::testing::Test {
 protected:
  CaptureRuntimeTest() : clock_(kSampleAsOf + 5) {
    config_.configDir = folder_.path();
    config_.storePath = folder_.Path("levels.sqlite");
    config_.symbols = {FileSymbol("QQQ")};
  }

  // A symbol whose chain is read from NAME.chain in the test folder.
  SymbolConfig FileSymbol(const std::string& name) {
    return testing::FileSymbol(name, folder_.Path(name + ".chain"));
  }

  // Opens the store (with `hook` inside each append) and makes the runtime over it.
  void Open(std::function<void()> hook = {}) {
    runtime_.reset();
    store::SqliteStoreOptions options;
    options.midCaptureHook = std::move(hook);
    std::string error;
    store_.reset();
    store_ = store::OpenSqliteStore(config_.storePath, options, &error);
    ASSERT_NE(store_, nullptr) << error;
    std::vector<std::string> names;
    for (const SymbolConfig& s : config_.symbols) names.push_back(s.name);
    state_ = std::make_unique<LiveState>(names);
    runtime_ =
        std::make_unique<CaptureRuntime>(config_, *store_, *state_, clock_, [this](const std::string& line) {
          std::lock_guard lock(logMutex_);
          log_.push_back(line);
        });
  }

  std::vector<std::string> TakeLog() {
    std::lock_guard lock(logMutex_);
    return std::exchange(log_, {});
  }

  SymbolStatus Status(const std::string& symbol = "QQQ") { return *state_->Of(symbol); }

  // The chain file of QQQ: the sample with its own time moved by `minutes`.
  void WriteSample(int minutes) {
    std::string chain = testing::DataFile("chains/qqq_chain.json");
    const std::string stamp = "2025-01-02 10:42:10";
    chain.replace(chain.find(stamp), stamp.size(), text::Format("2025-01-02 10:%02d:10", 42 + minutes));
    folder_.Write("QQQ.chain", chain);
  }

  testing::TempFolder folder_;
  LiveConfig config_;
  chart::VirtualClock clock_;
  std::unique_ptr<store::CaptureStore> store_;
  std::unique_ptr<LiveState> state_;
  std::unique_ptr<CaptureRuntime> runtime_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

TEST_F(CaptureRuntimeTest, CapturesANewChainOnceAndSaysWhenItIsUnchanged) {
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured) << Status().lastError;
  SymbolStatus s = Status();
  EXPECT_EQ(s.latestCaptureId, 1);
  EXPECT_EQ(s.latestCaptureAsOf, kSampleAsOf);
  EXPECT_EQ(s.captures, 1u);
  EXPECT_EQ(s.lastAttemptAt, kSampleAsOf + 5);
  EXPECT_EQ(s.lastSuccessAt, kSampleAsOf + 5);
  EXPECT_GE(s.nextAttemptAt, kSampleAsOf + 5 + 60) << "the market interval: 10:42 is in market hours";
  EXPECT_LT(s.nextAttemptAt, kSampleAsOf + 5 + 63);
  EXPECT_GT(s.fetchSeconds, 0);
  EXPECT_GT(s.computeSeconds, 0);
  std::vector<std::string> log = TakeLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("QQQ: captured 3789 contracts as of 2025-01-02T15:42:10Z, call wall ", 0), 0u)
      << log[0];
  EXPECT_EQ(log[0].substr(log[0].size() - 6), ", id 1");
  std::optional<store::CaptureRecord> stored;
  std::string error;
  ASSERT_TRUE(store_->Latest("QQQ", &stored, &error)) << error;
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->summary.fetchedAt, static_cast<int64_t>(kSampleAsOf + 5));
  EXPECT_EQ(stored->summary.provenance.conversionMethod, "none");

  // The file as it was: not even read. Touched: read, known by its digest. Said once.
  clock_.Set(kSampleAsOf + 65);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kUnchanged);
  std::filesystem::last_write_time(
      folder_.Path("QQQ.chain"),
      std::filesystem::last_write_time(folder_.Path("QQQ.chain")) + std::chrono::seconds(2));
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kUnchanged);
  s = Status();
  EXPECT_EQ(s.unchanged, 2u);
  EXPECT_EQ(s.captures, 1u);
  EXPECT_EQ(s.lastSuccessAt, kSampleAsOf + 65);
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"QQQ: chain unchanged since capture 1, not stored again"});

  WriteSample(1);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  EXPECT_EQ(Status().latestCaptureId, 2);
  EXPECT_EQ(Status().latestCaptureAsOf, kSampleAsOf + 60);
  EXPECT_EQ(TakeLog().size(), 1u);
  EXPECT_EQ(runtime_->CaptureNow("SPX"), CaptureOutcome::kFailed) << "not configured";
}

// A restart finds the latest capture of each symbol in the store, and an identical chain there.
TEST_F(CaptureRuntimeTest, ARestartResumesFromTheStore) {
  config_.symbols.push_back(FileSymbol("SPX"));
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  Open();
  EXPECT_EQ(Status().latestCaptureId, 0) << "a fresh state";
  std::string error;
  ASSERT_TRUE(runtime_->Start(&error)) << error;
  runtime_->Stop();
  EXPECT_EQ(Status().latestCaptureId, 1);
  EXPECT_EQ(Status().latestCaptureAsOf, kSampleAsOf);
  EXPECT_EQ(Status("SPX").latestCaptureId, 0);
  EXPECT_GE(Status().nextAttemptAt, kSampleAsOf + 5) << "due at once, but for the jitter";
  EXPECT_LE(Status().nextAttemptAt, kSampleAsOf + 5 + 3);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kStopped) << "a stopped runtime fetches nothing";
  Open();
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kUnchanged) << "the store's digest, after a restart";
}

TEST_F(CaptureRuntimeTest, FailuresBackOffAndKeepTheLastGoodCapture) {
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  TakeLog();
  const std::string path = folder_.Path("QQQ.chain");
  const struct {
    const char* name;
    std::string chain;  // "" removes the file
    std::string error;
    double backoff;
  } cases[] = {
      {"missing", "", "fetch failed: " + path + ": No such file or directory", 5},
      {"unreadable", "{\"data\":", "chain unreadable: ", 10},
      {"no contract", "expiration,strike,type,open_interest,iv\n", "engine failed: ", 20},
      {"terminal escape",
       "{\"timestamp\":\"\x1b]0;owned\x07\",\"data\":{\"option\":\"QQQ\",\"current_price\":500,"
       "\"options\":[{\"option\":\"QQQ250117C00500000\",\"iv\":0.2,\"open_interest\":1}]}}",
       "engine failed: unreadable as-of time '\xEF\xBF\xBD]0;owned\xEF\xBF\xBD'", 40},
  };
  for (const auto& c : cases) {
    if (c.chain.empty())
      std::filesystem::remove(path);
    else
      folder_.Write("QQQ.chain", c.chain);
    EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kFailed) << c.name;
    const SymbolStatus s = Status();
    EXPECT_EQ(s.lastError.substr(0, c.error.size()), c.error) << c.name << ": " << s.lastError;
    EXPECT_EQ(s.lastErrorAt, clock_.Now()) << c.name;
    EXPECT_GE(s.nextAttemptAt - clock_.Now(), c.backoff) << c.name;
    EXPECT_LT(s.nextAttemptAt - clock_.Now(), c.backoff * 1.05 + 1e-9) << c.name;
    EXPECT_EQ(s.latestCaptureId, 1) << c.name << ": the last good capture stays";
    const std::vector<std::string> log = TakeLog();
    ASSERT_EQ(log.size(), 1u) << c.name;
    EXPECT_EQ(log[0],
              "QQQ: " + s.lastError + text::Format(", retrying in %.0f s", s.nextAttemptAt - clock_.Now()));
  }
  EXPECT_EQ(Status().consecutiveFailures, 4);
  EXPECT_EQ(Status().failures, 4u);
  WriteSample(3);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  EXPECT_EQ(Status().consecutiveFailures, 0);
  EXPECT_EQ(Status().lastError, "");
}

// A capture the store refuses leaves the state as it was and is stored by the next attempt,
// although the file did not change in between.
TEST_F(CaptureRuntimeTest, AStoreFailureLeavesStateAndStoreConsistent) {
  bool failing = true;
  Open([&failing] {
    if (failing) throw std::runtime_error("disk full");
  });
  WriteSample(0);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kFailed);
  SymbolStatus s = Status();
  EXPECT_EQ(s.lastError.substr(0, 14), "store failed: ") << s.lastError;
  EXPECT_NE(s.lastError.find("disk full"), std::string::npos) << s.lastError;
  EXPECT_EQ(s.latestCaptureId, 0);
  EXPECT_EQ(s.captures, 0u);
  std::vector<std::string> symbols;
  std::string error;
  ASSERT_TRUE(store_->Symbols(&symbols, &error)) << error;
  EXPECT_TRUE(symbols.empty()) << "nothing half-stored";
  failing = false;
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  EXPECT_EQ(Status().latestCaptureId, 1);
  EXPECT_EQ(Status().captures, 1u);
}

TEST_F(CaptureRuntimeTest, ACommandSourcesErrorsReachTheLogSafely) {
  config_.symbols[0].chain.kind = ChainSource::Kind::kCommand;
  config_.symbols[0].chain.command = {"./chain.sh"};
  folder_.Script("chain.sh", "printf 'token expired\\033[2J\\r\\nretry later\\n' >&2; cat QQQ.chain");
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured) << Status().lastError;
  const std::vector<std::string> log = TakeLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "QQQ: command: token expired\xEF\xBF\xBD[2J");
  EXPECT_EQ(log[1], "QQQ: command: retry later");
  EXPECT_EQ(log[2].rfind("QQQ: captured ", 0), 0u);
}

TEST_F(CaptureRuntimeTest, PricesFromTheConfiguration) {
  config_.symbols[0].spot = {ValueSource::Kind::kCommand, 0, "", {"echo", "520"}};
  config_.symbols[0].future = "NQ";
  config_.symbols[0].futurePrice = {ValueSource::Kind::kCommand, 0, "", {"echo", "21320"}};
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured) << Status().lastError;
  std::optional<store::CaptureRecord> stored;
  std::string error;
  ASSERT_TRUE(store_->Latest("QQQ", &stored, &error)) << error;
  EXPECT_EQ(stored->summary.spot, 520);
  EXPECT_EQ(stored->summary.provenance.conversionMethod, "ratio");
  EXPECT_DOUBLE_EQ(stored->summary.provenance.conversionRatio, 21320.0 / 520);

  config_.symbols[0].futurePrice.command = {"echo", "closed"};
  Open();
  WriteSample(1);
  EXPECT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kFailed);
  EXPECT_EQ(Status().lastError, "futures price failed: expected one number above 0, got 'closed'");
}

TEST_F(CaptureRuntimeTest, StartDeletesCapturesPastTheRetention) {
  Open();
  WriteSample(0);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), CaptureOutcome::kCaptured);
  clock_.Set(kSampleAsOf + 5 + 31 * 86400.0);
  Open();
  TakeLog();
  std::string error;
  ASSERT_TRUE(runtime_->Start(&error)) << error;
  runtime_->Stop();
  const std::vector<std::string> log = TakeLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0], "store: deleted 1 capture fetched more than 30 days ago");
  EXPECT_EQ(Status().latestCaptureId, 0);
  std::optional<store::CaptureRecord> stored;
  ASSERT_TRUE(store_->Latest("QQQ", &stored, &error)) << error;
  EXPECT_FALSE(stored);
}

}  // namespace
}  // namespace live
