// The capture workers on their threads: one symbol's hanging source holds up no other, and Stop
// ends them all within two seconds whatever their sources do.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "chart/clock.h"
#include "live/capture_runtime.h"
#include "live/capture_test_support.h"
#include "live/fetch_test_server.h"
#include "loopback/loopback_test_support.h"
#include "store/sqlite_capture_store.h"

namespace live {
namespace {

SymbolConfig Symbol(const std::string& name, ChainSource chain) {
  SymbolConfig s;
  s.name = name;
  s.chain = std::move(chain);
  s.intervalSeconds = 5;
  s.offHoursIntervalSeconds = 5;
  s.timeoutSeconds = 60;  // far beyond the test: only Stop ends the hanging sources
  return s;
}

TEST(CaptureThreads, AHangingSourceDelaysNoOtherSymbolAndStopEndsEverything) {
  testing::TempFolder folder;
  testing::FetchTestServer server;
  folder.Write("qqq.json", testing::DataFile("chains/qqq_chain.json"));
  folder.Script("hang.sh", "touch started; sleep 60");
  LiveConfig config;
  config.configDir = folder.path();
  config.storePath = folder.Path("levels.sqlite");
  config.symbols = {
      Symbol("SLOWCMD", {ChainSource::Kind::kCommand, "", "", {"./hang.sh"}}),
      Symbol("SLOWURL", {ChainSource::Kind::kUrl, server.Url("/hang"), "", {}}),
      Symbol("QQQ", {ChainSource::Kind::kFile, "", folder.Path("qqq.json"), {}}),
  };
  std::string error;
  std::unique_ptr<store::CaptureStore> store = store::OpenSqliteStore(config.storePath, {}, &error);
  ASSERT_NE(store, nullptr) << error;
  LiveState state({"SLOWCMD", "SLOWURL", "QQQ"});
  // Five seconds of this clock pass in a twelfth of a real one: QQQ is due again and again while
  // the others hang (their time limits are real seconds).
  chart::FastClock clock(60);
  std::mutex logMutex;
  std::vector<std::string> log;
  CaptureRuntime runtime(config, *store, state, clock, [&](const std::string& line) {
    std::lock_guard lock(logMutex);
    log.push_back(line);
  });
  ASSERT_TRUE(runtime.Start(&error)) << error;
  EXPECT_TRUE(runtime.Start(&error)) << "already running";

  ASSERT_TRUE(loopback::testing::WaitFor([&] {
    return state.Of("QQQ")->captures == 1 && state.Of("QQQ")->unchanged >= 2 && server.Hanging() == 1 &&
           std::filesystem::exists(folder.Path("started"));
  })) << "QQQ is captured while both other sources hang";
  EXPECT_EQ(state.Of("SLOWCMD")->failures, 0u);
  EXPECT_EQ(state.Of("SLOWURL")->failures, 0u);

  const auto stopping = std::chrono::steady_clock::now();
  runtime.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
  EXPECT_TRUE(testing::NoChildLeft()) << "the hanging command was killed and reaped";
  EXPECT_EQ(state.Of("SLOWCMD")->failures, 0u) << "a stop is no failure";
  runtime.Stop();  // no effect when not running

  std::lock_guard lock(logMutex);
  ASSERT_EQ(log.size(), 2u) << "a capture, then one line for the run of unchanged chains";
  EXPECT_EQ(log[0].rfind("QQQ: captured ", 0), 0u) << log[0];
  EXPECT_EQ(log[1], "QQQ: chain unchanged since capture 1, not stored again");
}

}  // namespace
}  // namespace live
