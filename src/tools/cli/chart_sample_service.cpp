#include "cli/chart_sample_service.h"

#include <utility>

#include "cli/chain_options.h"
#include "platform/posix/posix_services.h"
#include "service/data_location.h"
#include "study/symbol_resolution.h"

namespace cli {

bool ServeChainLevels(ChartOptions& options, const chart::ChartData& chart, service::ChainLevels* levels,
                      std::string* error) {
  if (!LoadChain("ordinel chart", &options.chain, &levels->chain, error)) return false;
  ReportSkippedRows("ordinel chart", levels->chain.issues);
  levels->settings = options.chain.settings;
  levels->services = &platform::DefaultServices();
  engine::FuturesMapping& mapping = levels->settings.mapping;
  const std::string chartSymbol = study::ResolveApiSymbol(chart.symbol);
  if (mapping.symbol.empty()) mapping.symbol = chartSymbol;
  mapping.tickSize = options.tickSize;  // mapped levels land on the chart's own ticks
  const std::string underlying =
      levels->settings.symbol.empty() ? levels->chain.underlying : levels->settings.symbol;
  if (mapping.source == engine::FuturesMapping::Source::kNone && underlying != chartSymbol &&
      !chart.bars.empty()) {
    mapping.source = engine::FuturesMapping::Source::kChartPrice;
    mapping.price = chart.bars.back().close;
  }
  if (service::CheckChainLevels(*levels, error)) return true;
  *error = options.chain.chain + ": " + *error;
  return false;
}

std::unique_ptr<service::LevelsService> StartSampleService(const chart::Clock& clock,
                                                           const service::ChainLevels* chainLevels,
                                                           std::string* error) {
  const chart::Clock* time = &clock;
  service::FixtureCatalogue catalogue{service::DefaultDataDir(), [time] { return time->Now(); }, {}};
  if (chainLevels != nullptr) {
    catalogue.levels = [chainLevels](const service::FixtureRequest& request) {
      return service::AnswerChainLevels(*chainLevels, request);
    };
  }
  auto sample = std::make_unique<service::LevelsService>(std::move(catalogue));
  if (!sample->Start(0, error)) return nullptr;
  return sample;
}

}  // namespace cli
