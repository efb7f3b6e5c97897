// What computing a levels answer from a 20,000-contract chain costs: the whole engine on a chain
// in memory, the same from CSV text (reading included), and the model zero gamma and zero DEX
// search alone (the repricing that dominates). Goal: the whole answer within 100 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/answer_writer.h"
#include "engine/chain_reader.h"
#include "engine/compute_levels.h"
#include "engine/engine.h"
#include "engine/synthetic_chain.h"
#include "platform/posix/posix_services.h"
#include "text/format.h"

namespace {

constexpr size_t kContracts = 20000;
constexpr double kSpot = 521.21;

std::string CsvText(const engine::OptionChain& chain) {
  std::string csv = "expiration,strike,type,open_interest,iv,volume\n";
  for (const engine::OptionContract& c : chain.contracts) {
    csv +=
        text::Format("%s,%g,%s,%g,%.4f,%g\n", c.expiration, c.strike,
                     c.kind == engine::OptionKind::kCall ? "C" : "P", c.openInterest, c.impliedVol, c.volume);
  }
  return csv;
}

void BM_EngineAnswerFromChain(benchmark::State& state) {
  const engine::OptionChain chain = engine::SyntheticChain(kContracts, kSpot);
  for (auto _ : state) {
    engine::EngineAnswer answer;
    std::string error;
    if (!engine::RunEngine(chain, {}, platform::DefaultServices(), &answer, &error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(engine::LevelsAnswerJson(answer));
  }
  state.counters["contracts"] = static_cast<double>(chain.contracts.size());
}
BENCHMARK(BM_EngineAnswerFromChain)->Unit(benchmark::kMillisecond);

void BM_EngineAnswerFromCsvText(benchmark::State& state) {
  const engine::OptionChain synthetic = engine::SyntheticChain(kContracts, kSpot);
  const std::string csv = CsvText(synthetic);
  engine::EngineSettings settings;
  settings.hasSpot = true;
  settings.spot = kSpot;
  settings.asOf = synthetic.asOfText;
  for (auto _ : state) {
    engine::OptionChain chain;
    engine::EngineAnswer answer;
    std::string error;
    if (!engine::ReadChainText(csv, &chain, &error) ||
        !engine::RunEngine(chain, settings, platform::DefaultServices(), &answer, &error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(engine::LevelsAnswerJson(answer));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(csv.size()));
}
BENCHMARK(BM_EngineAnswerFromCsvText)->Unit(benchmark::kMillisecond);

void BM_ModelZeroGammaAndZeroDex(benchmark::State& state) {
  engine::EngineAnswer answer;
  std::string error;
  if (!engine::RunEngine(engine::SyntheticChain(kContracts, kSpot), {}, platform::DefaultServices(), &answer,
                         &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    engine::Levels levels;
    engine::FindModelZeros(answer.priced, &levels);
    benchmark::DoNotOptimize(levels.zeroGamma.value + levels.zeroDex.value);
  }
}
BENCHMARK(BM_ModelZeroGammaAndZeroDex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
