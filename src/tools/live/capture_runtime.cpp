// The workers and the pruner of the capture side. Each symbol has a thread of its own, so a
// source that hangs holds up only its own symbol; every wait, fetch and command ends when the
// stop signal rises.
#include "live/capture_runtime.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "live/capture_attempt.h"
#include "live/capture_log.h"
#include "live/capture_schedule.h"
#include "live/stop_signal.h"
#include "platform/posix/posix_services.h"
#include "text/fail.h"
#include "text/format.h"

namespace live {
namespace {

// How often captures past the retention are looked for, in clock seconds.
constexpr double kPruneEverySeconds = 3600;
// A wait for a clock time looks at the clock again at least this often (real seconds), so that
// a clock set by hand or a system clock that jumps is followed.
constexpr double kLongestWaitChunkSeconds = 1;

// What one symbol's worker owns. Its attempts are made one at a time, by its thread or by
// CaptureNow.
struct SymbolWorker {
  explicit SymbolWorker(const SymbolConfig& config)
      : config(config),
        jitter(config.name),
        cadence{static_cast<double>(config.intervalSeconds),
                static_cast<double>(config.offHoursIntervalSeconds)} {}

  const SymbolConfig& config;
  std::mutex attemptMutex;
  SymbolMemory memory;  // under attemptMutex
  JitterSource jitter;  // under attemptMutex
  Cadence cadence;
};

}  // namespace

struct CaptureRuntime::Impl {
  Impl(LiveConfig configIn, store::CaptureStore& storeIn, LiveState& stateIn, const chart::Clock& clockIn,
       LogLine logIn)
      : config(std::move(configIn)),
        store(storeIn),
        state(stateIn),
        clock(clockIn),
        rawLog(std::move(logIn)) {
    for (const SymbolConfig& symbol : config.symbols)
      workers.push_back(std::make_unique<SymbolWorker>(symbol));
    log = [this](const std::string& line) {
      std::lock_guard lock(logMutex);
      if (rawLog) rawLog(line);
    };
  }

  bool Seed(std::string* error);
  bool Prune(std::string* error);
  bool WaitUntil(double clockTime);
  CaptureOutcome AttemptAndSchedule(SymbolWorker& worker);
  void WorkerLoop(SymbolWorker& worker);
  void PrunerLoop();
  void JoinAll();

  const LiveConfig config;
  store::CaptureStore& store;
  LiveState& state;
  const chart::Clock& clock;
  platform::Services& services = platform::DefaultServices();
  const LogLine rawLog;
  std::mutex logMutex;
  LogLine log;  // rawLog, one line at a time
  StopSignal stop;
  std::vector<std::unique_ptr<SymbolWorker>> workers;
  std::vector<std::thread> threads;
  bool running = false;
};

// Under each symbol's attempt lock, so that no capture appended meanwhile is overwritten by an
// older one.
bool CaptureRuntime::Impl::Seed(std::string* error) {
  for (const auto& worker : workers) {
    std::lock_guard lock(worker->attemptMutex);
    std::optional<store::CaptureRecord> latest;
    std::string why;
    if (!store.Latest(worker->config.name, &latest, &why)) {
      return text::Fail(error, "cannot read the latest capture of " + worker->config.name + ": " + why);
    }
    state.Update(worker->config.name, [&](SymbolStatus& s) {
      s.latestCaptureId = latest ? latest->summary.id : 0;
      s.latestCaptureAsOf = latest ? static_cast<double>(latest->summary.asOf) : 0;
    });
  }
  return true;
}

bool CaptureRuntime::Impl::Prune(std::string* error) {
  const double cutoff = clock.Now() - config.retentionDays * 86400.0;
  size_t removed = 0;
  std::string why;
  if (!store.PruneFetchedBefore(static_cast<int64_t>(std::floor(cutoff)), &removed, &why)) {
    return text::Fail(error, "cannot delete old captures: " + why);
  }
  if (removed == 0) return true;
  log(text::Format("store: deleted %d capture%s fetched more than %d days ago",
                   static_cast<long long>(removed), removed == 1 ? "" : "s", config.retentionDays));
  return Seed(error);  // a symbol whose every capture went has none to serve now
}

// False when the stop signal rose first.
bool CaptureRuntime::Impl::WaitUntil(double clockTime) {
  for (;;) {
    const double left = clockTime - clock.Now();
    if (stop.Requested()) return false;
    if (!(left > 0)) return true;
    const double rate = std::max(clock.Rate(), 1e-9);
    if (stop.WaitFor(std::min(left / rate, kLongestWaitChunkSeconds))) return false;
  }
}

CaptureOutcome CaptureRuntime::Impl::AttemptAndSchedule(SymbolWorker& worker) {
  std::lock_guard lock(worker.attemptMutex);
  const AttemptContext context{worker.config, config.configDir, store, state, clock, services, stop, log};
  const AttemptResult result = AttemptCapture(context, &worker.memory);
  if (result.outcome == CaptureOutcome::kStopped) return result.outcome;
  // A success keeps the cadence from the attempt's start; a failure waits its backoff from its
  // end, so that a source failing slowly (a time limit) is still given the pause.
  const int failures = state.Of(worker.config.name)->consecutiveFailures;
  const double from = failures > 0 ? clock.Now() : result.attemptedAt;
  const double next = NextAttemptAt(services, worker.cadence, from, failures, worker.jitter.Next());
  state.Update(worker.config.name, [&](SymbolStatus& s) { s.nextAttemptAt = next; });
  if (result.outcome == CaptureOutcome::kFailed)
    log(FailedLine(worker.config.name, result.failure, next - from));
  return result.outcome;
}

void CaptureRuntime::Impl::WorkerLoop(SymbolWorker& worker) {
  for (;;) {
    if (!WaitUntil(state.Of(worker.config.name)->nextAttemptAt)) return;
    if (AttemptAndSchedule(worker) == CaptureOutcome::kStopped) return;
  }
}

void CaptureRuntime::Impl::PrunerLoop() {
  double next = clock.Now() + kPruneEverySeconds;
  while (WaitUntil(next)) {
    std::string error;
    if (!Prune(&error)) log("store: " + LogText(error));
    next = clock.Now() + kPruneEverySeconds;
  }
}

void CaptureRuntime::Impl::JoinAll() {
  stop.Request();
  for (std::thread& thread : threads) thread.join();
  threads.clear();
  running = false;
}

CaptureRuntime::CaptureRuntime(LiveConfig config, store::CaptureStore& store, LiveState& state,
                               const chart::Clock& clock, LogLine log)
    : impl_(std::make_unique<Impl>(std::move(config), store, state, clock, std::move(log))) {}

CaptureRuntime::~CaptureRuntime() { Stop(); }

bool CaptureRuntime::Start(std::string* error) {
  Impl& impl = *impl_;
  if (impl.running) return true;
  impl.stop.Reset();
  if (!impl.Seed(error) || !impl.Prune(error)) return false;
  const double now = impl.clock.Now();
  for (const auto& worker : impl.workers) {
    const double first = FirstAttemptAt(impl.services, worker->cadence, now, worker->jitter.Next());
    impl.state.Update(worker->config.name, [&](SymbolStatus& s) { s.nextAttemptAt = first; });
  }
  impl.running = true;
  try {
    for (const auto& worker : impl.workers) {
      impl.threads.emplace_back([&impl, w = worker.get()] { impl.WorkerLoop(*w); });
    }
    impl.threads.emplace_back([&impl] { impl.PrunerLoop(); });
  } catch (const std::system_error& e) {
    impl.JoinAll();
    return text::Fail(error, std::string("cannot start the capture workers: ") + e.what());
  }
  return true;
}

void CaptureRuntime::Stop() {
  if (impl_->running) impl_->JoinAll();
}

CaptureOutcome CaptureRuntime::CaptureNow(std::string_view symbol) {
  for (const auto& worker : impl_->workers) {
    if (worker->config.name == symbol) return impl_->AttemptAndSchedule(*worker);
  }
  return CaptureOutcome::kFailed;
}

}  // namespace live
