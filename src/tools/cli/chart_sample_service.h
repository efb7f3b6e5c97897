// The sample levels service of an `ordinel chart` run that names no service: started in-process
// on a free loopback port, it answers from the sample files or, with --chain, with the levels
// the engine computes from an option chain.
#pragma once

#include <memory>
#include <string>

#include "chart/chart_host.h"
#include "chart/clock.h"
#include "cli/chart_options.h"
#include "service/chain_levels.h"
#include "service/levels_service.h"

namespace cli {

// Reads the chain of --chain into `*levels`; a chain of another underlying than the chart's is
// mapped by --ratio or --future-price, else by the chart's last price, onto the chart's tick
// size. False with `*error` when
// the chain cannot be read or its levels cannot be served (then naming the chain file).
bool ServeChainLevels(ChartOptions& options, const chart::ChartData& chart, service::ChainLevels* levels,
                      std::string* error);

// The sample service, listening, on `clock`'s time; its levels answers come from `chainLevels`
// when that is not null. Null with `*error` when it cannot listen.
// Requires: `clock` and `*chainLevels` outlive the service.
std::unique_ptr<service::LevelsService> StartSampleService(const chart::Clock& clock,
                                                           const service::ChainLevels* chainLevels,
                                                           std::string* error);

}  // namespace cli
