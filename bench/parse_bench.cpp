// What reading one levels answer costs: the JSON parse of the full extended sample into a
// document kept from parse to parse (as the study keeps it), and ParseLevelsResponse alone on
// the already parsed tree.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_data.h"
#include "json/json_document.h"
#include "payload/levels_response.h"

namespace {

constexpr const char* kExtendedAnswer = "extended.json";

void BM_ParseJsonExtendedAnswer(benchmark::State& state) {
  const std::string body = bench::ReadSampleAnswer(kExtendedAnswer);
  if (body.empty()) {
    state.SkipWithError("cannot read data/answers/extended.json");
    return;
  }
  json::Document document;
  for (auto _ : state) {
    const json::ParseResult result = document.Parse(body);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(document.Root());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_ParseJsonExtendedAnswer);

// The argument is "Top strikes count": 10 is the default, 40 the most the input allows.
void BM_ParseLevelsResponseExtendedAnswer(benchmark::State& state) {
  json::Document document;
  if (document.ParseOwned(bench::ReadSampleAnswer(kExtendedAnswer)) != json::ParseResult::kParsed) {
    state.SkipWithError("data/answers/extended.json does not parse");
    return;
  }
  const json::Node root = document.Root();
  const int topStrikes = static_cast<int>(state.range(0));
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (!payload::ParseLevelsResponse(root, topStrikes, &snapshot, &status)) {
    state.SkipWithError(("the extended answer is refused: " + status).c_str());
    return;
  }
  for (auto _ : state) {
    const bool ok = payload::ParseLevelsResponse(root, topStrikes, &snapshot, &status);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(snapshot.gexCells.data());
  }
  state.counters["profile_rows"] = static_cast<double>(snapshot.profileRows.size());
}
BENCHMARK(BM_ParseLevelsResponseExtendedAnswer)->Arg(10)->Arg(40);

}  // namespace

BENCHMARK_MAIN();
