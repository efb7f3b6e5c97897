// `ordinel service`: the sample levels service on loopback, serving until SIGINT or SIGTERM.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/chain_options.h"
#include "cli/commands.h"
#include "platform/posix/posix_services.h"
#include "service/chain_levels.h"
#include "service/data_location.h"
#include "service/fault_injection.h"
#include "service/levels_service.h"

namespace cli {
namespace {

constexpr const char* kServiceUsage =
    "usage: ordinel service [--port N] [--data DIR] [--fault PATH=FAULT ...]\n"
    "                       [--chain CHAIN [--spot S] [--as-of TIME] [--rate R] [--dividend Q]\n"
    "                        [--symbol SYM] [--future-price F | --ratio X] [--future-symbol SYM]]\n"
    "  --port N           loopback port; 0 (the default) takes any free port\n"
    "  --data DIR         directory of the sample answers (default: the repository's\n"
    "                     data/answers)\n"
    "  --chain CHAIN      answer the levels path with levels computed from an option chain\n"
    "                     (see ordinel engine): the request's symbol is the chain's underlying,\n"
    "                     or with --ratio or --future-price its futures symbol; the expiry tail\n"
    "                     selects the expirations used\n"
    "  --fault PATH=FAULT  inject a fault on PATH: a request path, '*' (every path), levels,\n"
    "                     vix, qqq or research. FAULT is a comma list of delay=MS status=CODE\n"
    "                     html file=NAME truncate[=N] oversize=N drop redirect=PATH count=N,\n"
    "                     e.g. --fault levels=delay=2000,status=503\n"
    "Prints \"listening on http://127.0.0.1:PORT\" and serves until interrupted.\n";

struct ServiceOptions {
  int port = 0;
  std::string dataDir;
  std::vector<std::pair<std::string, service::Fault>> faults;
  ChainOptions chain;  // chain.chain empty: the sample answers serve the levels path
};

constexpr int kMaxPort = 65535;

bool ParseServiceArgs(const Args& args, ServiceOptions* options, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const ChainOptionRead read = ReadChainOption(args, {"--symbol", false}, &i, &options->chain, error);
    if (read == ChainOptionRead::kBad) return false;
    if (read == ChainOptionRead::kTaken) continue;
    const std::string& flag = args[i];
    if (flag != "--port" && flag != "--data" && flag != "--fault" && flag != "--chain") {
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
    if (flag == "--chain") options->chain.chain = value;
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
