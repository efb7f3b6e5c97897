// Entry point of the `ordinel` program: dispatches to a subcommand.
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/commands.h"

namespace {

#ifdef _WIN32
constexpr const char* kUsage =
    "usage: ordinel COMMAND [ARGS]\n"
    "  replay SCENARIO.json [--study PATH]   run a scripted session, print the JSON report\n"
    "  inspect FILE [--top-strikes N]        show what the study reads from a levels answer\n"
    "                                        (at most 16 MiB; - reads standard input)\n"
    "  (chart, service and engine run only in the Linux build)\n"
    "ordinel COMMAND --help lists the command's options; each takes --opt VALUE or --opt=VALUE.\n";
#else
constexpr const char* kUsage =
    "usage: ordinel COMMAND [ARGS]\n"
    "  chart [OPTIONS]                       the main job: run the study on a chart, write\n"
    "                                        ordinel-chart.png and .svg (chart --help)\n"
    "  replay SCENARIO.json [--study PATH]   run a scripted session, print the JSON report\n"
    "  inspect FILE [--top-strikes N]        show what the study reads from a levels answer\n"
    "                                        (at most 16 MiB; - reads standard input)\n"
    "  service [OPTIONS]                     sample levels service on loopback, with injected\n"
    "                                        faults or levels computed from an option chain\n"
    "  engine CHAIN|- [OPTIONS]              levels answer computed from an option chain\n"
    "ordinel COMMAND --help lists the command's options; each takes --opt VALUE or --opt=VALUE.\n";
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Reports and answers pass through byte for byte: "\n" stays "\n", as on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return cli::kExitInvalid;
  }
  cli::Args args(argv + 2, argv + argc);
  const char* command = argv[1];
  if (std::strcmp(command, "chart") == 0) return cli::RunChart(args);
  if (std::strcmp(command, "replay") == 0) return cli::RunReplay(args);
  if (std::strcmp(command, "inspect") == 0) return cli::RunInspect(args);
  if (std::strcmp(command, "service") == 0) return cli::RunService(args);
  if (std::strcmp(command, "engine") == 0) return cli::RunEngine(args);
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 ||
      std::strcmp(command, "help") == 0) {
    std::fputs(kUsage, stdout);
    return cli::kExitOk;
  }
  std::fprintf(stderr, "ordinel: unknown command '%s'\n%s", command, kUsage);
  return cli::kExitInvalid;
}
