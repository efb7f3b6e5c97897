// `ordinel engine CHAIN [options]`: computes a levels answer from an option chain (CSV or the
// exchange JSON download) and prints it on standard output.
#include <cstdio>
#include <string>

#include "cli/arguments.h"
#include "cli/chain_options.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "engine/answer_writer.h"
#include "engine/engine.h"
#include "platform/posix/posix_services.h"

namespace cli {
namespace {

// The options of `ordinel engine`, read into `*o`, which must outlive the table.
formats::OptionTable EngineOptionTable(ChainOptions* o) {
  formats::OptionTable table;
  table.command = "ordinel engine";
  table.positionals = {formats::Positional("CHAIN|-", "chain",
                                           "CSV with a header row, or the exchange's delayed-quote JSON\n"
                                           "('-' reads stdin)",
                                           &o->chain)};
  table.options = ChainOptionRows({"--symbol", true}, o);
  table.check = [o](const formats::ParsedArguments&, std::string* error) {
    return CheckChainOptions(*o, error);
  };
  return table;
}

}  // namespace

int RunEngine(const Args& args) {
  ChainOptions options;
  int status = kExitOk;
  if (!ReadArguments(EngineOptionTable(&options), args, &status)) return status;
  engine::OptionChain chain;
  std::string error;
  if (!LoadChain("ordinel engine", &options, &chain, &error)) {
    PrintLine(stderr, "ordinel engine: " + error);
    return kExitInvalid;
  }
  engine::EngineAnswer answer;
  const bool ok = engine::RunEngine(chain, options.settings, platform::DefaultServices(), &answer, &error);
  ReportSkippedRows("ordinel engine", ok ? answer.issues : chain.issues);
  if (!ok) {
    PrintLine(stderr, "ordinel engine: " + options.chain + ": " + error);
    return kExitInvalid;
  }
  const std::string json = engine::LevelsAnswerJson(answer) + "\n";
  std::fwrite(json.data(), 1, json.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitInvalid;
}

}  // namespace cli
