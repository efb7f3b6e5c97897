// The subcommands of the `ordinel` program. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

// Exit statuses: done; the study library or the service could not be had; bad options, input
// or files, or a run that ended without what it was for.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitInvalid = 2;

int RunChart(const Args& args);    // chart_command.cpp
int RunReplay(const Args& args);   // replay_command.cpp
int RunInspect(const Args& args);  // inspect_command.cpp
int RunService(const Args& args);  // service_command.cpp
int RunEngine(const Args& args);   // engine_command.cpp

}  // namespace cli
