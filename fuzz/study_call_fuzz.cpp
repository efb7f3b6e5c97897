// libFuzzer entry for whole study calls: the input is a levels answer body, optionally followed
// by "\n--research--\n" and a research answer body. Both are delivered through the substitute
// chart host to the real study with every chart layer, the panel (on a narrow chart) and the
// research lines switched on, so a crash, a leak, or time or memory out of proportion to the
// input (libFuzzer's -timeout and -rss_limit_mb) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chart/chart_data.h"
#include "chart/chart_host.h"
#include "chart/clock.h"
#include "transport/http_transport.h"
#include "host/fake_study_host.h"
#include "study/input_table.h"
#include "study/study_entry.h"

namespace {

constexpr std::string_view kResearchSeparator = "\n--research--\n";
constexpr double kStart = 1735832700;  // 2025-01-02 15:45 UTC

void SwitchEverythingOn(chart::InputStore& inputs) {
  for (const study::InputRow& row : study::kInputTable) {
    if (row.kind == host::InputKind::kYesNo) inputs.EditYesNo(row.slot, true);
  }
  inputs.EditNumber(study::kSnapshotMode, 1);  // live: every answer is taken
  inputs.EditNumber(study::kWallExtenders, 3);
  inputs.EditNumber(study::kExposureAmounts, 3);
  inputs.EditNumber(study::kTopStrikesCount, 40);
  inputs.EditNumber(study::kWorkflowPreset, 3);   // the research tab with lens and inspector
  inputs.EditNumber(study::kResearchRequest, 1);  // one research GET on the first call
}

// The host lends its services, so the study never falls back to services of its own.
void Study(host::StudyHost& sc) {
  static host::FakeServices unused;
  study::StudyFunction(sc, unused);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(kResearchSeparator);
  const std::string levels(input.substr(0, split));
  const std::string research(
      split == std::string_view::npos ? std::string_view() : input.substr(split + kResearchSeparator.size()));

  chart::ChartData chart = chart::DefaultChart();
  chart.visible = chart::LastBars(static_cast<int>(chart.bars.size()), 3);  // a narrow panel
  chart::VirtualClock clock(kStart);
  transport::ScriptedTransport transport;
  host::FakeServices services;  // the research GET answers at once with the fuzzed body
  services.getResult = {200, research};
  chart::ChartHost host(chart, clock, transport, services);
  host.DeclarationCall(Study);
  SwitchEverythingOn(host.Inputs());

  host.OrdinaryCall(Study);  // sends the levels request, runs the research GET
  transport.Answer(levels);
  clock.Set(kStart + 1);
  host.OrdinaryCall(Study);  // delivers both answers and redraws
  host.Inputs().EditNumber(study::kPanelWidthBars, 250);
  clock.Set(kStart + 2);
  host.OrdinaryCall(Study);  // a redraw with the widest panel
  host.RemovalCall(Study);
  return 0;
}
