// `ordinel service`: the sample levels service on loopback, serving until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/chain_options.h"
#include "cli/commands.h"
#include "cli/live_service_command.h"
#include "cli/terminal_text.h"
#include "cli/stop_signals.h"
#include "platform/posix/posix_services.h"
#include "service/chain_levels.h"
#include "service/data_location.h"
#include "service/fault_injection.h"
#include "service/levels_service.h"

namespace cli {
namespace {

struct ServiceOptions {
  std::string config;  // set: the live service, which takes only the test clock's options
  LiveTestClock testClock;
  int port = 0;
  std::string dataDir;
  std::vector<std::pair<std::string, service::Fault>> faults;
  ChainOptions chain;  // chain.chain empty: the sample answers serve the levels path
};

// The options of `ordinel service`, read into `*o`, which must outlive the table.
formats::OptionTable ServiceOptionTable(ServiceOptions* o) {
  formats::OptionTable table;
  table.command = "ordinel service";
  table.epilogue = "Prints \"listening on http://127.0.0.1:PORT\" and serves until interrupted.\n";
  table.options = {
      formats::Text("--config", "FILE",
                    "run the live levels service of this configuration (see the README):\n"
                    "captured chains, levels, research and history; no other option but\n"
                    "--clock-start and --clock-rate goes with it",
                    &o->config),
      formats::Number("--clock-start", "UNIX", {.min = 1, .max = 4102444800},  // up to 2100-01-01
                      "for tests, with --config: the live service's clock starts at this\n"
                      "time (seconds since 1970, UTC) instead of now",
                      &o->testClock.start),
      formats::Number("--clock-rate", "N", {.min = 0, .max = kMaxServiceClockRate, .minOpen = true},
                      "for tests, with --config: the live service's clock runs N times as\n"
                      "fast as real time, so that a session passes in seconds",
                      &o->testClock.rate),
      PortOption("loopback port; 0 (the default) takes any free port", &o->port),
      formats::Text("--data", "DIR",
                    "directory of the sample answers (default: the repository's\n"
                    "data/answers)",
                    &o->dataDir),
      formats::Repeatable(
          formats::Checked("--fault", "PATH=FAULT", "PATH=FAULT",
                           "inject a fault on PATH: a request path, '*' (every path), levels,\n"
                           "vix, qqq or research. FAULT is a comma list of delay=MS status=CODE\n"
                           "html file=NAME truncate[=N] oversize=N drop redirect=PATH count=N,\n"
                           "e.g. --fault levels=delay=2000,status=503",
                           [o](const std::string& value, std::string* why) {
                             std::string path;
                             service::Fault fault;
                             if (!service::ParseFaultArgument(value, &path, &fault, why)) return false;
                             o->faults.emplace_back(std::move(path), std::move(fault));
                             return true;
                           })),
      formats::Text("--chain", "CHAIN",
                    "answer the levels path with levels computed from an option chain,\n"
                    "read with the options below as ordinel engine reads them: the\n"
                    "request's symbol is the chain's underlying, or with --ratio or\n"
                    "--future-price its futures symbol; the expiry tail selects the\n"
                    "expirations used",
                    &o->chain.chain),
  };
  for (formats::OptionRow& row : ChainOptionRows({"--symbol", false}, &o->chain)) {
    table.options.push_back(std::move(row));
  }
  table.check = [o](const formats::ParsedArguments& parsed, std::string* error) {
    const bool live = WasGiven(parsed, "--config");
    for (const std::string& name : parsed.given) {
      const bool testClock = name == "--clock-start" || name == "--clock-rate";
      if (live && !testClock && name != "--config") {
        *error = "--config runs the live service, which takes no other option but the test clock's (" + name +
                 " belongs to the sample service)";
        return false;
      }
      if (!live && testClock) {
        *error = name + " sets the live service's clock and needs --config";
        return false;
      }
    }
    return CheckChainOptions(o->chain, error);
  };
  return table;
}

int UsageError(const std::string& message) {
  ServiceOptions scratch;
  PrintLine(stderr, "ordinel service: " + message);
  std::fputs(formats::UsageText(ServiceOptionTable(&scratch)).c_str(), stderr);
  return kExitInvalid;
}

}  // namespace

int RunService(const Args& args) {
  ServiceOptions options;
  int status = kExitOk;
  if (!ReadArguments(ServiceOptionTable(&options), args, &status)) return status;
  if (!options.config.empty()) return RunLiveService(options.config, options.testClock);
  std::string error;
  if (options.dataDir.empty()) options.dataDir = service::DefaultDataDir();
  std::error_code ignored;
  if (!std::filesystem::is_directory(options.dataDir, ignored)) {
    return UsageError("no sample answers directory at '" + options.dataDir + "'");
  }

  // Blocked before the service starts, so that its threads inherit the mask and the signals
  // wait for sigwait below instead of killing the process mid-answer.
  const StopSignalMask stopSignals;

  service::FixtureCatalogue catalogue{options.dataDir, {}, {}};
  service::ChainLevels chainLevels;
  if (!options.chain.chain.empty()) {
    if (!LoadChain("ordinel service", &options.chain, &chainLevels.chain, &error)) {
      return UsageError(error);
    }
    ReportSkippedRows("ordinel service", chainLevels.chain.issues);
    chainLevels.settings = options.chain.settings;
    chainLevels.services = &platform::DefaultServices();
    if (!service::CheckChainLevels(chainLevels, &error)) {
      return UsageError(options.chain.chain + ": " + error);
    }
    catalogue.levels = [&chainLevels](const service::FixtureRequest& request) {
      return service::AnswerChainLevels(chainLevels, request);
    };
  }
  service::LevelsService levels(std::move(catalogue));
  for (const auto& [path, fault] : options.faults) levels.Faults().Set(path, fault);
  if (!levels.Start(options.port, &error)) {
    PrintLine(stderr, "ordinel service: " + error);
    return kExitFailed;
  }
  std::fprintf(stderr, "ordinel service: sample answers from %s\n", options.dataDir.c_str());
  std::fprintf(stdout, "listening on %s\n", levels.Origin().c_str());
  std::fflush(stdout);

  int received = 0;
  while (sigwait(&stopSignals.Signals(), &received) != 0) {
  }
  levels.Stop();
  return kExitOk;
}

}  // namespace cli
