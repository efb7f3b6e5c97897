// The options that say how levels are computed from an option chain, shared by
// `ordinel engine`, `ordinel service --chain` and `ordinel chart --chain`.
#pragma once

#include <string>

#include "cli/commands.h"
#include "engine/engine.h"
#include "engine/option_chain.h"

namespace cli {

// How the chain options of one command line are read.
struct ChainOptions {
  std::string chain;  // path, or "-" for standard input
  engine::EngineSettings settings;
  bool haveRatio = false;
  bool haveFuturePrice = false;
};

enum class ChainOptionRead { kNotMine, kTaken, kBad };

// Which chain options a command takes besides the common ones.
struct ChainOptionSet {
  const char* symbolFlag = "--symbol";  // names the chain's underlying (`chart` keeps --symbol)
  bool expiryOptions = false;           // --expiry-mode and --expiries
};

// Reads args[*i] when it is one of --spot, --as-of, --rate, --dividend, the set's symbol flag,
// --ratio, --future-price, --future-symbol (and the set's expiry options), moving *i onto its
// value. kBad with *problem for a missing or malformed value or for both --ratio and
// --future-price; kNotMine for any other argument.
ChainOptionRead ReadChainOption(const Args& args, const ChainOptionSet& set, size_t* i,
                                ChainOptions* o, std::string* problem);

// Reads the chain file; a chain without a time of its own and without --as-of is computed at
// the current time, which is said on standard error as "<command>: ...". False with a message.
bool LoadChain(const std::string& command, ChainOptions* options, engine::OptionChain* chain,
               std::string* error);

// "<command>: 3 rows skipped" and the first few rows named, on standard error; nothing when
// no row was skipped.
void ReportSkippedRows(const std::string& command, const engine::RowIssues& issues);

}  // namespace cli
