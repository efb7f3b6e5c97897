// `ordinel service --config FILE`: the live levels service, capturing and answering until SIGINT
// or SIGTERM.
#include "cli/live_service_command.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "chart/clock.h"
#include "cli/commands.h"
#include "cli/stop_signals.h"
#include "cli/terminal_text.h"
#include "live/capture_runtime.h"
#include "live/live_answers.h"
#include "live/live_config.h"
#include "live/live_server.h"
#include "live/live_state.h"
#include "platform/posix/posix_services.h"
#include "store/sqlite_capture_store.h"

namespace cli {
namespace {

// Each line of `text` on standard error after the command's name, as terminal text.
void Complain(const std::string& text) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    PrintLine(stderr, "ordinel service: " + text.substr(start, end - start));
    start = end + 1;
  }
}

std::vector<std::string> SymbolNames(const live::LiveConfig& config) {
  std::vector<std::string> names;
  for (const live::SymbolConfig& s : config.symbols) names.push_back(s.name);
  return names;
}

// The test clock: from `start` (the wall clock's time when 0) at `rate` times real time.
class TestClock : public chart::Clock {
 public:
  explicit TestClock(const LiveTestClock& c)
      : start_(c.start > 0 ? c.start : chart::SystemClock().Now()),
        rate_(c.rate),
        startTick_(std::chrono::steady_clock::now()) {}
  double Now() const override {
    return start_ +
           std::chrono::duration<double>(std::chrono::steady_clock::now() - startTick_).count() * rate_;
  }
  double Rate() const override { return rate_; }

 private:
  double start_, rate_;
  std::chrono::steady_clock::time_point startTick_;
};

std::unique_ptr<chart::Clock> ServiceClock(const LiveTestClock& c) {
  if (c.start > 0 || c.rate != 1) return std::make_unique<TestClock>(c);
  return std::make_unique<chart::SystemClock>();
}

// The test hook of ORDINEL_TEST_HOLD_CAPTURE (see the header); a minute at most, so that a test
// that dies before it kills the service leaves no capture held for ever.
store::SqliteStoreOptions StoreOptions() {
  store::SqliteStoreOptions options;
  const char* hold = std::getenv("ORDINEL_TEST_HOLD_CAPTURE");
  if (hold == nullptr || *hold == '\0') return options;
  options.midCaptureHook = [file = std::string(hold)] {
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) return;
    std::ofstream(file + ".held") << "held\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::filesystem::exists(file, ignored) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  return options;
}

void WaitForStopSignal(const StopSignalMask& stopSignals) {
  int received = 0;
  while (sigwait(&stopSignals.Signals(), &received) != 0) {
  }
}

}  // namespace

int RunLiveService(const std::string& configPath, const LiveTestClock& testClock) {
  live::LiveConfig config;
  std::string error;
  if (!live::ReadLiveConfig(configPath, live::ProcessEnvironment, &config, &error)) {
    Complain(error);
    return kExitInvalid;
  }
  const std::unique_ptr<store::CaptureStore> store =
      store::OpenSqliteStore(config.storePath, StoreOptions(), &error);
  if (!store) {
    Complain(error);
    return kExitInvalid;
  }
  // Blocked before any thread starts, so that every thread inherits the mask and the signals
  // wait for sigwait below.
  const StopSignalMask stopSignals;
  live::LiveState state(SymbolNames(config));
  const std::unique_ptr<chart::Clock> clockOwner = ServiceClock(testClock);
  const chart::Clock& clock = *clockOwner;
  const live::LogLine log = [](const std::string& line) { Complain(line); };
  live::CaptureRuntime runtime(config, *store, state, clock, log);
  if (!runtime.Start(&error)) {
    Complain(error);
    return kExitFailed;
  }
  live::LiveAnswers answers({&config, store.get(), &clock, &platform::DefaultServices(), log}, state);
  live::LiveServer server(answers);
  if (!server.Start(config.listen, &error)) {
    runtime.Stop();
    Complain(error);
    return kExitFailed;
  }
  Complain("live levels of " + std::to_string(config.symbols.size()) + " symbol(s), history in " +
           config.storePath);
  std::fprintf(stdout, "listening on %s%s\n", server.Origin().c_str(),
               config.token.empty() ? "" : " (every path under /<token>/)");
  std::fflush(stdout);

  WaitForStopSignal(stopSignals);
  server.Stop();
  runtime.Stop();
  return kExitOk;
}

}  // namespace cli
