// What one full drawing pass costs with every chart layer switched on over the full extended
// sample, submitting into the real chart host (drawings replaced in place by line number).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_data.h"
#include "chart/chart_host.h"
#include "chart/clock.h"
#include "chart/http_transport.h"
#include "chart/scripted_services.h"
#include "draw/drawing_pass.h"
#include "json/json_value.h"
#include "payload/levels_response.h"
#include "study/study_declarations.h"
#include "study/study_inputs.h"

namespace {

constexpr int kYesNoToggles[] = {
    study::kDrawDailyVolZones, study::kShadeUnstableCorridor, study::kDrawNdxLevels,
    study::kDrawVanna,         study::kDrawCharm,             study::kDrawVegaWalls,
    study::kDrawHybridWalls,   study::kDrawSessionRefs,       study::kShadeOpeningRange,
    study::kDrawOvernight,     study::kDrawVwapBands,         study::kDrawTradingRanges,
    study::kDrawIvBand,        study::kRegimeTint,            study::kGexHeatmap,
    study::kCharmMap,          study::kDeltaMap,              study::kVannaMap,
    study::kVegaMap,           study::kGexProfile,            study::kIvWalls,
    study::kForecastTouch,     study::kForecastBand,          study::kZeroGammaModel,
    study::kDrawCoreLevels,    study::kDrawVolTrigger,        study::kDrawMaxPain,
    study::kDrawOiWalls,       study::kDrawZeroDex,           study::kDrawFocus,
    study::kDrawZoneBoundaries, study::kShadeZones,           study::kDrawTopStrikes,
    study::kLabelLines,        study::kPriceScaleValues,
};
constexpr int kThreePerSide = 3;
constexpr int kGammaPlusDelta = 3;
constexpr int kTopStrikes = 10;

// 200 bars around the sample's spot 21500, so the scale guard holds and the gamma profile has
// a visible price range (21300-21700) to scale against; the last 100 are visible.
chart::ChartData SampleChart() {
  chart::ChartData chart;
  for (int i = 0; i < 200; ++i) {
    const double swing = (i % 20) * 10.0;
    chart.bars.push_back({21500, 21500 + swing, 21500 - swing, 21500});
  }
  chart.visible = chart::LastBars(200, 100);
  return chart;
}

void SwitchEveryLayerOn(chart::InputStore& inputs) {
  for (int slot : kYesNoToggles) inputs.EditYesNo(slot, true);
  inputs.EditNumber(study::kWallExtenders, kThreePerSide);
  inputs.EditNumber(study::kExposureAmounts, kGammaPlusDelta);
  // The panel is not part of this measurement.
  inputs.EditYesNo(study::kShowPanel, false);
}

void BM_DrawingPassEveryLayerExtendedAnswer(benchmark::State& state) {
  json::Value root;
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (!json::ParseJson(bench::ReadSampleAnswer("extended.json"), &root) ||
      !payload::ParseLevelsResponse(root, kTopStrikes, &snapshot, &status)) {
    state.SkipWithError("data/answers/extended.json is missing or refused");
    return;
  }
  chart::VirtualClock clock(1735832700);
  chart::ScriptedTransport transport;
  chart::ScriptedServices services(clock);
  chart::ChartHost host(SampleChart(), clock, transport, services);
  study::DeclareStudy(host);
  SwitchEveryLayerOn(host.Inputs());

  std::vector<int> previousLines;
  const draw::PanelGates gates;
  for (auto _ : state) {
    draw::RunDrawingPass(host, snapshot, /*scaleGuardTripped=*/false, gates, nullptr, &previousLines);
    benchmark::DoNotOptimize(previousLines.data());
  }
  state.counters["drawings"] = static_cast<double>(host.Drawings().Size());
  state.counters["drawings_per_second"] = benchmark::Counter(
      static_cast<double>(host.Drawings().Size()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawingPassEveryLayerExtendedAnswer);

}  // namespace

BENCHMARK_MAIN();
