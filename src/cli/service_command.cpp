// `ordinel service`: the sample levels service on loopback, serving until SIGINT or SIGTERM.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "service/data_location.h"
#include "service/fault_injection.h"
#include "service/levels_service.h"

namespace cli {
namespace {

constexpr const char* kServiceUsage =
    "usage: ordinel service [--port N] [--data DIR] [--fault PATH=FAULT ...]\n"
    "  --port N           loopback port; 0 (the default) takes any free port\n"
    "  --data DIR         directory of the sample answers (default: the repository's\n"
    "                     data/answers)\n"
    "  --fault PATH=FAULT  inject a fault on PATH: a request path, '*' (every path), levels,\n"
    "                     vix, qqq or research. FAULT is a comma list of delay=MS status=CODE\n"
    "                     html file=NAME truncate[=N] oversize=N drop redirect=PATH count=N,\n"
    "                     e.g. --fault levels=delay=2000,status=503\n"
    "Prints \"listening on http://127.0.0.1:PORT\" and serves until interrupted.\n";

struct ServiceOptions {
  int port = 0;
  std::string dataDir;
  std::vector<std::pair<std::string, service::Fault>> faults;
};

constexpr int kMaxPort = 65535;

bool ParseServiceArgs(const Args& args, ServiceOptions* options, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag != "--port" && flag != "--data" && flag != "--fault") {
      *error = "unknown argument '" + flag + "'";
      return false;
    }
    if (i + 1 >= args.size()) {
      *error = flag + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (flag == "--port" && !ParseWholeArgument(value, kMaxPort, &options->port)) {
      *error = "--port needs a number from 0 to 65535, got '" + value + "'";
      return false;
    }
    if (flag == "--data") options->dataDir = value;
    if (flag == "--fault") {
      std::string path;
      service::Fault fault;
      if (!service::ParseFaultArgument(value, &path, &fault, error)) return false;
      options->faults.emplace_back(std::move(path), std::move(fault));
    }
  }
  return true;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "ordinel service: %s\n%s", message.c_str(), kServiceUsage);
  return kExitInvalid;
}

}  // namespace

int RunService(const Args& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kServiceUsage, stdout);
    return kExitOk;
  }
  ServiceOptions options;
  std::string error;
  if (!ParseServiceArgs(args, &options, &error)) return UsageError(error);
  if (options.dataDir.empty()) options.dataDir = service::DefaultDataDir();
  std::error_code ignored;
  if (!std::filesystem::is_directory(options.dataDir, ignored)) {
    return UsageError("no sample answers directory at '" + options.dataDir + "'");
  }

  // Blocked before the service starts, so that its threads inherit the mask and the signals
  // wait for sigwait below instead of killing the process mid-answer.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);

  service::LevelsService levels(service::FixtureCatalogue{options.dataDir, {}});
  for (const auto& [path, fault] : options.faults) levels.Faults().Set(path, fault);
  if (!levels.Start(options.port, &error)) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    std::fprintf(stderr, "ordinel service: %s\n", error.c_str());
    return kExitFailed;
  }
  std::fprintf(stderr, "ordinel service: sample answers from %s\n", options.dataDir.c_str());
  std::fprintf(stdout, "listening on %s\n", levels.Origin().c_str());
  std::fflush(stdout);

  int received = 0;
  while (sigwait(&stopSignals, &received) != 0) {
  }
  levels.Stop();
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return kExitOk;
}

}  // namespace cli
