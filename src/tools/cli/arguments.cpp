#include "cli/arguments.h"

#include <cstdio>

namespace cli {

formats::OptionRow PortOption(std::string help, int* port) {
  return formats::Whole("--port", "N", 0, kMaxPort, std::move(help), port);
}

bool ReadArguments(const formats::OptionTable& table, const Args& args, int* status) {
  formats::ParsedArguments parsed;
  std::string error;
  if (!formats::ParseArguments(table, args, &parsed, &error)) {
    std::fprintf(stderr, "%s: %s\n%s", table.command.c_str(), error.c_str(),
                 formats::UsageText(table).c_str());
    *status = kExitInvalid;
    return false;
  }
  if (!parsed.help) return true;
  std::fputs(formats::UsageText(table).c_str(), stdout);
  *status = kExitOk;
  return false;
}

}  // namespace cli
