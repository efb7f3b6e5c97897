// The commands ordinel.exe leaves out: `chart`, `service` and `engine` need the renderer, the
// sample levels service and the engine, which are built for Linux only. Each says so and ends
// as an unknown command does.
#include <cstdio>

#include "cli/commands.h"

namespace cli {
namespace {

int LinuxOnly(const char* command) {
  std::fprintf(stderr, "ordinel: '%s' runs only in the Linux build; this one has replay and inspect\n",
               command);
  return kExitInvalid;
}

}  // namespace

int RunChart(const Args&) { return LinuxOnly("chart"); }
int RunService(const Args&) { return LinuxOnly("service"); }
int RunEngine(const Args&) { return LinuxOnly("engine"); }

}  // namespace cli
