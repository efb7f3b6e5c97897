// Reading a command's arguments through its option table, with the outcome every command
// shares: the usage for --help, a message and the usage for a mistake.
#pragma once

#include <string>

#include "cli/commands.h"
#include "formats/option_table.h"

namespace cli {

// The highest port; --port 0 takes any free one.
inline constexpr int kMaxPort = 65535;

// The --port row of a command that listens on loopback, storing into `*port`.
formats::OptionRow PortOption(std::string help, int* port);

// Reads `args` through `table`; true when the command goes on. Otherwise `*status` is the exit
// status: kExitOk after the usage on standard output for --help or -h, kExitInvalid after
// "COMMAND: problem" and the usage on standard error.
bool ReadArguments(const formats::OptionTable& table, const Args& args, int* status);

}  // namespace cli
