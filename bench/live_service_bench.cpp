// One machine's capacity as the live levels service: captures per second per core for a
// 5,000- and a 20,000-contract chain (engine and store), the cached levels request over loopback
// (median and 99th-percentile latency, requests per second), the research answer for a day of
// one-minute captures (405 rows, 09:30-16:15 New York) and the store's bytes per symbol-day.
// Each figure is one thread's; the README's performance table and docs/service.md read them.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/clock.h"
#include "engine/synthetic_chain.h"
#include "live/capture_builder.h"
#include "live/live_answers.h"
#include "live/live_config.h"
#include "live/live_server.h"
#include "live/live_state.h"
#include "platform/posix/posix_services.h"
#include "store/chain_digest.h"
#include "store/sqlite_capture_store.h"

namespace {

constexpr double kSpot = 521.21;
constexpr double kSessionOpen = 1735828200;  // 2025-01-02 09:30 New York
constexpr int kDayCaptures = 405;            // one a minute, 09:30 to 16:15

std::string FreshPath(const std::string& name) {
  const std::string path = std::filesystem::temp_directory_path().string() + "/ordinel_bench_" +
                           std::to_string(getpid()) + "_" + name + ".sqlite";
  for (const char* suffix : {"", "-wal", "-shm", ".lock"}) std::filesystem::remove(path + suffix);
  return path;
}

std::unique_ptr<store::CaptureStore> OpenStore(const std::string& path) {
  std::string error;
  std::unique_ptr<store::CaptureStore> s = store::OpenSqliteStore(path, {}, &error);
  if (!s) std::fprintf(stderr, "%s\n", error.c_str());
  return s;
}

live::CaptureInputs QqqInputs(double fetchedAt) {
  live::CaptureInputs inputs;
  inputs.symbol = "QQQ";
  inputs.fetchedAt = fetchedAt;
  inputs.future = {engine::FuturesMapping::Source::kRatio, 41.25, 0, "NQ"};
  return inputs;
}

// The chain as it is `minute` minutes after the open: its own time cleared (the fetch time
// stands) and open interest moved a little, as a session's captures differ.
engine::OptionChain ChainAtMinute(engine::OptionChain chain, int minute) {
  chain.asOfText.clear();
  for (size_t i = 0; i < chain.contracts.size(); i += 7) chain.contracts[i].openInterest += minute;
  return chain;
}

// Compute and store: the whole capture of a fetched chain, as a worker makes it.
void BM_CaptureComputeAndStore(benchmark::State& state) {
  const engine::OptionChain chain = engine::SyntheticChain(static_cast<size_t>(state.range(0)), kSpot);
  const std::string path = FreshPath("capture" + std::to_string(state.range(0)));
  std::unique_ptr<store::CaptureStore> s = OpenStore(path);
  if (!s) return state.SkipWithError("cannot open the store");
  int minute = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const engine::OptionChain moved = ChainAtMinute(chain, minute);
    state.ResumeTiming();
    store::CaptureRecord capture;
    std::string error;
    int64_t id = 0;
    if (!live::BuildCapture(moved, QqqInputs(kSessionOpen + 60.0 * minute++), platform::DefaultServices(),
                            &capture, &error) ||
        !s->Append(capture, &id, &error)) {
      return state.SkipWithError(error.c_str());
    }
  }
  state.counters["contracts"] = static_cast<double>(chain.contracts.size());
  state.counters["captures_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  s.reset();
  for (const char* suffix : {"", "-wal", "-shm", ".lock"}) std::filesystem::remove(path + suffix);
}
BENCHMARK(BM_CaptureComputeAndStore)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The store's part alone: appending a capture already computed, which holds the one writer.
void BM_StoreAppend(benchmark::State& state) {
  const engine::OptionChain chain = engine::SyntheticChain(static_cast<size_t>(state.range(0)), kSpot);
  const std::string path = FreshPath("append" + std::to_string(state.range(0)));
  std::unique_ptr<store::CaptureStore> s = OpenStore(path);
  store::CaptureRecord capture;
  std::string error;
  if (!s || !live::BuildCapture(ChainAtMinute(chain, 0), QqqInputs(kSessionOpen), platform::DefaultServices(),
                                &capture, &error)) {
    return state.SkipWithError("cannot open the store or compute the capture");
  }
  for (auto _ : state) {
    int64_t id = 0;
    if (!s->Append(capture, &id, &error)) return state.SkipWithError(error.c_str());
  }
  state.counters["appends_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  s.reset();
  for (const char* suffix : {"", "-wal", "-shm", ".lock"}) std::filesystem::remove(path + suffix);
}
BENCHMARK(BM_StoreAppend)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A store holding one session day of `contracts`-contract captures, one a minute, and the
// service's answering side over loopback in front of it.
struct DayService {
  explicit DayService(size_t contracts) : path(FreshPath("day" + std::to_string(contracts))) {
    store = OpenStore(path);
    if (!store) return;
    const engine::OptionChain chain = engine::SyntheticChain(contracts, kSpot);
    store::CaptureRecord base;
    std::string error;
    if (!live::BuildCapture(ChainAtMinute(chain, 0), QqqInputs(kSessionOpen), platform::DefaultServices(),
                            &base, &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      store.reset();
      return;
    }
    // The engine's work per capture is measured above; the day is filled with the first
    // capture's exposures and each minute's own contracts, times and digest.
    for (int minute = 0; minute < kDayCaptures; ++minute) {
      store::CaptureRecord c = base;
      const engine::OptionChain moved = ChainAtMinute(chain, minute);
      c.contracts = moved.contracts;
      c.summary.fetchedAt = c.summary.asOf = static_cast<int64_t>(kSessionOpen) + 60 * minute;
      c.summary.chainDigest = store::ChainDigest(std::to_string(minute), moved.contracts);
      int64_t id = 0;
      if (!store->Append(c, &id, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        store.reset();
        return;
      }
      latestId = id;
      latestAsOf = static_cast<double>(c.summary.asOf);
    }
    store.reset();  // closed: the WAL is folded into the file, whose size is the day's
    bytes = static_cast<double>(std::filesystem::file_size(path));
    store = OpenStore(path);
    config.symbols.resize(1);
    config.symbols[0].name = "QQQ";
    config.symbols[0].future = "NQ";
    config.symbols[0].futureRatio = {live::ValueSource::Kind::kNumber, 41.25, {}, {}};
    config.listen.port = 0;
    state.Update("QQQ", [this](live::SymbolStatus& s) {
      s.latestCaptureId = latestId;
      s.latestCaptureAsOf = latestAsOf;
    });
    answers = std::make_unique<live::LiveAnswers>(
        live::AnswerContext{&config, store.get(), &clock, &platform::DefaultServices(), {}}, state);
    server = std::make_unique<live::LiveServer>(*answers);
    if (!server->Start(config.listen, &error)) std::fprintf(stderr, "%s\n", error.c_str());
  }
  ~DayService() {
    if (server) server->Stop();
    store.reset();
    for (const char* suffix : {"", "-wal", "-shm", ".lock"}) std::filesystem::remove(path + suffix);
  }

  std::string path;
  std::unique_ptr<store::CaptureStore> store;
  int64_t latestId = 0;
  double latestAsOf = 0, bytes = 0;
  live::LiveConfig config;
  chart::VirtualClock clock{kSessionOpen + 60.0 * kDayCaptures};
  live::LiveState state{{"QQQ"}};
  std::unique_ptr<live::LiveAnswers> answers;
  std::unique_ptr<live::LiveServer> server;
};

DayService& Day(size_t contracts) {
  static std::map<size_t, std::unique_ptr<DayService>> days;
  std::unique_ptr<DayService>& day = days[contracts];
  if (!day) day = std::make_unique<DayService>(contracts);
  return *day;
}

// GETs `target` from `day`'s service, once unmeasured and then recording each request's latency;
// the latency counters are the median and the 99th percentile. `keepAlive`: all on one
// connection, else a connection of its own for each request, as a study's refresh makes it.
void MeasureRequests(benchmark::State& state, DayService& day, const std::string& target, bool keepAlive) {
  if (!day.server || day.server->Port() == 0) return state.SkipWithError("the service did not start");
  httplib::Client client("127.0.0.1", day.server->Port());
  client.set_keep_alive(keepAlive);
  client.set_tcp_nodelay(true);
  // The first levels request of a capture computes its answer; the ones measured find it kept.
  if (!client.Get(target.c_str())) return state.SkipWithError("the first request failed");
  std::vector<double> micros;
  size_t bytes = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = client.Get(target.c_str());
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (!result || result->status != 200) return state.SkipWithError("the request failed");
    bytes = result->body.size();
  }
  std::sort(micros.begin(), micros.end());
  state.counters["p50_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  state.counters["answer_bytes"] = static_cast<double>(bytes);
  state.counters["requests_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The levels path as the study asks it, answered from the answer kept since the last capture;
// argument 1 keeps the connection alive between requests.
void BM_CachedLevelsRequest(benchmark::State& state) {
  MeasureRequests(state, Day(5000), "/extension/levels?symbol=NQ&basis=signed_flow&extended=1",
                  state.range(0) != 0);
}
BENCHMARK(BM_CachedLevelsRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The research path for the day of 405 captures (each answer read from the store).
void BM_ResearchDayOf405Captures(benchmark::State& state) {
  MeasureRequests(state, Day(state.range(0)),
                  "/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", false);
  state.counters["contracts"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ResearchDayOf405Captures)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The store's size for one symbol's day of one-minute captures.
void BM_StoreBytesPerSymbolDay(benchmark::State& state) {
  DayService& day = Day(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(day.bytes);
  state.counters["bytes_per_symbol_day"] = day.bytes;
  state.counters["bytes_per_capture"] = day.bytes / kDayCaptures;
}
BENCHMARK(BM_StoreBytesPerSymbolDay)->Arg(5000)->Arg(20000)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
