// `ordinel service --config FILE`: the live levels service, which the service command runs when
// it is given a configuration.
#pragma once

#include <string>

namespace cli {

// Reads the configuration at `configPath`, opens its store, captures and answers until SIGINT or
// SIGTERM, then stops both sides within two seconds. Returns kExitInvalid after the problems
// of a configuration or store that cannot be used (the store is never overwritten),
// kExitFailed when the service cannot start, else kExitOk.
int RunLiveService(const std::string& configPath);

}  // namespace cli
