// The subcommands of the `ordinel` program. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

int RunChart(const Args& args);    // chart_command.cpp
int RunReplay(const Args& args);   // replay_command.cpp
int RunInspect(const Args& args);  // inspect_command.cpp
int RunService(const Args& args);  // service_command.cpp
int RunEngine(const Args& args);   // engine_command.cpp

}  // namespace cli
