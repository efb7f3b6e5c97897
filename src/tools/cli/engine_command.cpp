// `ordinel engine CHAIN [options]`: computes a levels answer from an option chain (CSV or the
// exchange JSON download) and prints it on standard output.
#include <cstdio>
#include <string>

#include "cli/chain_options.h"
#include "cli/commands.h"
#include "engine/answer_writer.h"
#include "engine/engine.h"
#include "platform/posix/posix_services.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage: ordinel engine CHAIN|- [--spot S] [--as-of TIME] [--rate R] [--dividend Q]\n"
    "                      [--symbol SYM] [--future-price F | --ratio X] [--future-symbol SYM]\n"
    "                      [--expiry-mode legacy|multi|specific|0dte] [--expiries D1,D2,...]\n"
    "  CHAIN   CSV with a header row, or the exchange's delayed-quote JSON ('-' reads stdin)\n"
    "  --spot  underlying price (required for a CSV chain; the JSON carries its own)\n"
    "  --as-of 2025-01-02T15:42:10Z, or New York wall clock 2025-01-02 10:42:10, or epoch seconds\n"
    "  --rate, --dividend   continuous, decimal (defaults 0.045 and 0)\n"
    "  --future-price F / --ratio X   map the levels onto a futures chart\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "ordinel engine: %s\n%s", problem.c_str(), kUsage);
  return kExitInvalid;
}

// Fills `o` from the arguments; an empty result means success, else the problem.
std::string ParseOptions(const Args& args, ChainOptions* o) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string problem;
    switch (ReadChainOption(args, {"--symbol", true}, &i, o, &problem)) {
      case ChainOptionRead::kTaken: continue;
      case ChainOptionRead::kBad: return problem;
      case ChainOptionRead::kNotMine: break;
    }
    const std::string& a = args[i];
    if (a.rfind("--", 0) == 0) return "unknown option '" + a + "'";
    if (!o->chain.empty()) return "unexpected argument '" + a + "'";
    o->chain = a;
  }
  if (o->chain.empty()) return "no chain given";
  return "";
}

}  // namespace

int RunEngine(const Args& args) {
  ChainOptions options;
  const std::string problem = ParseOptions(args, &options);
  if (!problem.empty()) return Usage(problem);
  engine::OptionChain chain;
  std::string error;
  if (!LoadChain("ordinel engine", &options, &chain, &error)) {
    std::fprintf(stderr, "ordinel engine: %s\n", error.c_str());
    return kExitInvalid;
  }
  engine::EngineAnswer answer;
  const bool ok =
      engine::RunEngine(chain, options.settings, platform::DefaultServices(), &answer, &error);
  ReportSkippedRows("ordinel engine", ok ? answer.issues : chain.issues);
  if (!ok) {
    std::fprintf(stderr, "ordinel engine: %s: %s\n", options.chain.c_str(), error.c_str());
    return kExitInvalid;
  }
  const std::string json = engine::LevelsAnswerJson(answer) + "\n";
  std::fwrite(json.data(), 1, json.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitInvalid;
}

}  // namespace cli
