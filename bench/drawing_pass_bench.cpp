// What one full drawing pass costs with every chart layer switched on over the full extended
// sample, submitting into the real chart host (drawings replaced in place by line number).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_data.h"
#include "chart/chart_host.h"
#include "chart/clock.h"
#include "transport/http_transport.h"
#include "chart/scripted_services.h"
#include "draw/drawing_pass.h"
#include "json/json_document.h"
#include "payload/levels_response.h"
#include "study/study_declarations.h"

namespace {

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

draw::DrawSettings EveryLayerOn() {
  draw::DrawSettings d;
  for (bool draw::DrawSettings::*layer : {&draw::DrawSettings::dailyVolZones,
                                          &draw::DrawSettings::unstableCorridor,
                                          &draw::DrawSettings::ndxLevels,
                                          &draw::DrawSettings::vanna,
                                          &draw::DrawSettings::charm,
                                          &draw::DrawSettings::vegaWalls,
                                          &draw::DrawSettings::hybridWalls,
                                          &draw::DrawSettings::sessionRefs,
                                          &draw::DrawSettings::shadeOpeningRange,
                                          &draw::DrawSettings::overnight,
                                          &draw::DrawSettings::vwapBands,
                                          &draw::DrawSettings::tradingRanges,
                                          &draw::DrawSettings::ivBand,
                                          &draw::DrawSettings::regimeTint,
                                          &draw::DrawSettings::gexHeatmap,
                                          &draw::DrawSettings::charmMap,
                                          &draw::DrawSettings::deltaMap,
                                          &draw::DrawSettings::vannaMap,
                                          &draw::DrawSettings::vegaMap,
                                          &draw::DrawSettings::gexProfile,
                                          &draw::DrawSettings::ivWalls,
                                          &draw::DrawSettings::forecastTouch,
                                          &draw::DrawSettings::forecastBand,
                                          &draw::DrawSettings::zeroGammaModel,
                                          &draw::DrawSettings::coreLevels,
                                          &draw::DrawSettings::volTrigger,
                                          &draw::DrawSettings::maxPain,
                                          &draw::DrawSettings::oiWalls,
                                          &draw::DrawSettings::zeroDex,
                                          &draw::DrawSettings::focus,
                                          &draw::DrawSettings::zoneBoundaries,
                                          &draw::DrawSettings::shadeZones,
                                          &draw::DrawSettings::topStrikes,
                                          &draw::DrawSettings::labelLines,
                                          &draw::DrawSettings::valueInPriceScale}) {
    d.*layer = true;
  }
  d.wallExtenders = kThreePerSide;
  d.exposureMode = kGammaPlusDelta;
  d.showPanel = false;  // the panel is not part of this measurement
  return d;
}

void BM_DrawingPassEveryLayerExtendedAnswer(benchmark::State& state) {
  json::Document document;
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (document.ParseOwned(bench::ReadSampleAnswer("extended.json")) != json::ParseResult::kParsed ||
      !payload::ParseLevelsResponse(document.Root(), kTopStrikes, &snapshot, &status)) {
    state.SkipWithError("data/answers/extended.json is missing or refused");
    return;
  }
  chart::VirtualClock clock(1735832700);
  transport::ScriptedTransport transport;
  chart::ScriptedServices services(clock);
  chart::ChartHost host(SampleChart(), clock, transport, services);
  study::DeclareStudy(host);
  const draw::DrawSettings settings = EveryLayerOn();

  draw::DrawnLines lines;
  const draw::PanelGates gates;
  for (auto _ : state) {
    draw::RunDrawingPass(host, settings, snapshot, /*scaleGuardTripped=*/false, gates, nullptr, &lines);
    benchmark::DoNotOptimize(lines.previous.data());
  }
  state.counters["drawings"] = static_cast<double>(host.Drawings().Size());
  state.counters["drawings_per_second"] = benchmark::Counter(
      static_cast<double>(host.Drawings().Size()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawingPassEveryLayerExtendedAnswer);

}  // namespace

BENCHMARK_MAIN();
