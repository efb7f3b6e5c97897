#include "cli/input_listing.h"

#include <cstdio>
#include <memory>

#include "chart/chart_host.h"
#include "chart/dialog_limits.h"
#include "chart/study_location.h"
#include "cli/commands.h"
#include "transport/http_transport.h"
#include "web/page_frame.h"

namespace cli {

std::string InputListingText(const chart::InputStore& inputs) {
  std::string out;
  for (const auto& [slot, entry] : inputs.Entries()) {
    const host::InputDeclaration& input = entry.declaration;
    const chart::InputEntry asDeclared{input, chart::DefaultValue(input)};
    out += input.label + "\t" + chart::InputKindName(input.kind) + "\t" + web::InputValueText(asDeclared) +
           "\t" + chart::InputTakes(input, chart::DialogLimits()) + "\n";
  }
  return out;
}

int ListInputs(const ChartOptions& options) {
  std::string error;
  const std::unique_ptr<chart::StudyLibrary> library =
      chart::StudyLibrary::Open(chart::StudyLibraryPath(options.study), &error);
  if (!library) {
    std::fprintf(stderr, "ordinel chart: %s\n", error.c_str());
    return kExitFailed;
  }
  // The declaration call alone: it sends nothing, so neither the clock nor the transport is used.
  const chart::VirtualClock clock;
  transport::ScriptedTransport transport;
  chart::ChartHost host(chart::DefaultChart(), clock, transport);
  host.DeclarationCall(library->Function());
  const std::string listing = InputListingText(host.Inputs());
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  std::fflush(stdout);
  host.RemovalCall(library->Function());
  return kExitOk;
}

}  // namespace cli
