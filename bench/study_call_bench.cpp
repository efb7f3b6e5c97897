// What the study costs the chart: for each levels answer given, RapidJSON's parse of its bytes
// (the yardstick), ParseLevelsResponse alone on the parsed document, and the whole study call
// that delivers it through the substitute chart host (parse, translate, redraw); then a plain
// call with nothing due and a full redraw of the extended sample answer with every layer and
// the info panel on. Prints one table of medians (run with --benchmark_repetitions, ideally in
// random order), the delivering call also as a multiple of RapidJSON's parse from the same run.
//   study_call_bench [benchmark flags] [levels answer...]
// Default answers: data/answers/extended.json and the large reference answer beside the
// repository (../shared/bench/levels_large.json) when it is there.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <rapidjson/document.h>

#include "chart/chart_host.h"
#include "chart/clock.h"
#include "transport/http_transport.h"
#include "chart/scripted_services.h"
#include "json/json_document.h"
#include "median_reporter.h"
#include "payload/levels_response.h"
#include "study/input_table.h"
#include "study/study_entry.h"
#include "text/format.h"

namespace {

constexpr double kStart = 1749738600;  // 2025-06-12 14:30 UTC, a session day of both samples
constexpr double kRefreshSeconds = 180;
constexpr int kBars = 400;
constexpr int kVisibleBars = 120;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Bars around `price`, so the scale guard holds for an answer whose spot is near it.
chart::ChartData ChartAround(double price) {
  chart::ChartData chart;
  chart.symbol = "NQM25";
  chart.tickSize = 0.25;
  for (int i = 0; i < kBars; ++i) {
    const double swing = (i % 20) * 5.0;
    chart.bars.push_back({price, price + swing, price - swing, price});
  }
  chart.visible = chart::LastBars(kBars, kVisibleBars);
  return chart;
}

// Every chart layer and the panel on; the fear score off (it would fetch more), no alerts.
void SwitchEveryLayerOn(chart::InputStore& inputs) {
  for (const auto& [slot, entry] : inputs.Entries()) {
    if (entry.declaration.kind != host::InputKind::kYesNo) continue;
    const bool off = slot == study::kFearScore || slot == study::kVerboseLog ||
                     slot == study::kStructuralAlerts || slot == study::kModelZeroGammaAsFlip;
    inputs.EditYesNo(slot, !off);
  }
  inputs.EditNumber(study::kWallExtenders, 3);    // "3 per side"
  inputs.EditNumber(study::kExposureAmounts, 3);  // "Gamma + Delta"
}

// One chart, its host and the study instance, driven by a virtual clock.
class Session {
 public:
  explicit Session(double price)
      : clock_(kStart), services_(clock_), host_(ChartAround(price), clock_, transport_, services_) {
    lent_ = &services_;  // one session at a time
    host_.DeclarationCall(&Study);
    SwitchEveryLayerOn(host_.Inputs());
  }
  ~Session() { host_.RemovalCall(&Study); }

  chart::ChartHost& Host() { return host_; }
  void Call() { host_.OrdinaryCall(&Study); }
  // Moves the clock past the refresh interval and makes the call that sends the request; the
  // answer waits in the transport for the next call.
  bool SendRequestAnswering(const std::string& body) {
    now_ += kRefreshSeconds + 1;
    clock_.Set(now_);
    Call();
    return transport_.Answer(body);
  }
  // Loads `body` as the map; false when the study did not draw it.
  bool Load(const std::string& body) {
    if (!SendRequestAnswering(body)) return false;
    Call();
    return host_.Drawings().Size() > 0;
  }

 private:
  // The study as the platform calls it, with the session's scripted services as its own.
  static void Study(host::StudyHost& sc) { study::StudyFunction(sc, *lent_); }
  static inline platform::Services* lent_ = nullptr;

  double now_ = kStart;
  chart::VirtualClock clock_;
  transport::ScriptedTransport transport_;
  chart::ScriptedServices services_;
  chart::ChartHost host_;
};

constexpr int kTopStrikes = 10;

void BM_RapidJsonParse(benchmark::State& state, const std::string& path) {
  const std::string body = ReadFile(path);
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(body.data(), body.size());
    benchmark::DoNotOptimize(document.HasParseError());
  }
}

void BM_ParseLevelsResponse(benchmark::State& state, const std::string& path) {
  json::Document document;
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (document.ParseOwned(ReadFile(path)) != json::ParseResult::kParsed ||
      !payload::ParseLevelsResponse(document.Root(), kTopStrikes, &snapshot, &status)) {
    state.SkipWithError(("refused: " + path + " " + status).c_str());
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(payload::ParseLevelsResponse(document.Root(), kTopStrikes, &snapshot, &status));
  }
}

// Each iteration sends a request, answers it, and times only the call that takes the answer.
void BM_DeliveringCall(benchmark::State& state, const std::string& path, double price) {
  const std::string body = ReadFile(path);
  Session session(price);
  if (body.empty() || !session.Load(body)) {
    state.SkipWithError(("no map drawn from " + path).c_str());
    return;
  }
  for (auto _ : state) {
    if (!session.SendRequestAnswering(body)) {
      state.SkipWithError("no request was pending");
      return;
    }
    const auto start = std::chrono::steady_clock::now();
    session.Call();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
  }
}

// A loaded map, nothing due, nothing changed: what the chart pays on every tick.
void BM_PlainCall(benchmark::State& state, const std::string& path, double price) {
  Session session(price);
  if (!session.Load(ReadFile(path))) {
    state.SkipWithError(("no map drawn from " + path).c_str());
    return;
  }
  session.Call();
  for (auto _ : state) session.Call();
}

// The visible range moves by one bar on every call, so every call redraws every layer and the
// panel from the kept map.
void BM_FullRedraw(benchmark::State& state, const std::string& path, double price) {
  Session session(price);
  if (!session.Load(ReadFile(path))) {
    state.SkipWithError(("no map drawn from " + path).c_str());
    return;
  }
  const host::BarRange ranges[2] = {chart::LastBars(kBars, kVisibleBars),
                                    chart::LastBars(kBars - 1, kVisibleBars)};
  int flip = 0;
  for (auto _ : state) {
    flip ^= 1;
    session.Host().Chart().visible = ranges[flip];
    session.Call();
  }
  state.counters["drawings"] = static_cast<double>(session.Host().Drawings().Size());
}

// Keeps the median time of each benchmark (or its only run) and prints the table at the end.
class TableReporter : public bench::MedianReporter {
 public:
  // `order`: the benchmark names in the order the table lists them.
  explicit TableReporter(std::vector<std::string> order) : order_(std::move(order)) {}

  void Keep(const Run& run) override {
    seen_[run.run_name.function_name] = run.GetAdjustedRealTime() * Scale(run.time_unit);
  }
  void Finalize() override {
    std::string out = text::Format("%-56s %12s %14s\n", "study", "median", "vs RapidJSON");
    for (const std::string& name : order_) {
      if (!seen_.count(name)) continue;
      const double seconds = seen_[name];
      std::string ratio = "-";
      const size_t slash = name.find('/');
      if (name.rfind("delivering call/", 0) == 0) {
        const auto yardstick = seen_.find("RapidJSON parse" + name.substr(slash));
        if (yardstick != seen_.end() && yardstick->second > 0) {
          ratio = text::Format("%.2fx", seconds / yardstick->second);
        }
      }
      out += text::Format("%-56s %12s %14s\n", name, Duration(seconds), ratio);
    }
    GetOutputStream() << out << std::flush;
  }

 private:
  static double Scale(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond: return 1e-9;
      case benchmark::kMicrosecond: return 1e-6;
      case benchmark::kMillisecond: return 1e-3;
      default: return 1;
    }
  }
  static std::string Duration(double seconds) {
    if (seconds >= 1e-3) return text::Format("%.2f ms", seconds * 1e3);
    return text::Format("%.2f us", seconds * 1e6);
  }
  std::map<std::string, double> seen_;
  std::vector<std::string> order_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string extended = std::string(ORDINEL_DATA) + "/answers/extended.json";
  constexpr double kExtendedSpot = 21500;
  std::vector<std::string> answers(argv + 1, argv + argc);
  for (const std::string& path : answers) {
    if (path.rfind("--", 0) == 0 || !std::filesystem::exists(path)) {
      std::fprintf(stderr, "study_call_bench: no such answer or option %s\n", path.c_str());
      return 2;
    }
  }
  if (answers.empty()) {
    answers.push_back(extended);
    const std::string large = std::string(ORDINEL_DATA) + "/../../shared/bench/levels_large.json";
    if (std::filesystem::exists(large)) answers.push_back(large);
  }
  std::vector<std::string> order;
  for (const std::string& path : answers) {
    const std::string name = std::filesystem::path(path).filename().string();
    order.push_back("RapidJSON parse/" + name);
    benchmark::RegisterBenchmark(order.back().c_str(), BM_RapidJsonParse, path);
    order.push_back("ParseLevelsResponse/" + name);
    benchmark::RegisterBenchmark(order.back().c_str(), BM_ParseLevelsResponse, path);
    order.push_back("delivering call/" + name);
    benchmark::RegisterBenchmark(order.back().c_str(), BM_DeliveringCall, path, kExtendedSpot)
        ->UseManualTime();
  }
  order.push_back("plain call/extended.json");
  benchmark::RegisterBenchmark(order.back().c_str(), BM_PlainCall, extended, kExtendedSpot);
  order.push_back("full redraw, every layer and the panel/extended.json");
  benchmark::RegisterBenchmark(order.back().c_str(), BM_FullRedraw, extended, kExtendedSpot);
  TableReporter table(order);
  benchmark::RunSpecifiedBenchmarks(&table);
  benchmark::Shutdown();
  return 0;
}
