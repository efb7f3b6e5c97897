// The options that say how levels are computed from an option chain, shared by
// `ordinel engine`, `ordinel service --chain` and `ordinel chart --chain`.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/option_chain.h"
#include "formats/option_table.h"

namespace cli {

// How the chain options of one command line are read.
struct ChainOptions {
  std::string chain;  // path, or "-" for standard input
  engine::EngineSettings settings;
  bool haveRatio = false;
  bool haveFuturePrice = false;
};

// Which chain options a command takes besides the common ones.
struct ChainOptionSet {
  const char* symbolFlag = "--symbol";  // names the chain's underlying (`chart` keeps --symbol)
  bool expiryOptions = false;           // --expiry-mode and --expiries
  bool tickSizeOption = true;           // --tick-size (`chart` gives the chart's own)
};

// The rows of --spot, --as-of, --rate, --dividend, the set's symbol flag, --future-price,
// --ratio, --future-symbol (and the set's --tick-size and expiry options), storing into `*o`,
// which must outlive them.
std::vector<formats::OptionRow> ChainOptionRows(const ChainOptionSet& set, ChainOptions* o);

// False with a message when both --ratio and --future-price were given, or --tick-size
// without either.
bool CheckChainOptions(const ChainOptions& o, std::string* error);

// Reads the chain file; a chain without a time of its own and without --as-of is computed at
// the current time, which is said on standard error as "<command>: ..." (and a failure for want
// of a live expiration then names --as-of). False with a message when the file cannot be read,
// or when neither the chain nor --spot gives the underlying's price (naming --spot).
bool LoadChain(const std::string& command, ChainOptions* options, engine::OptionChain* chain,
               std::string* error);

// "<command>: 3 rows skipped" and the first few rows named, on standard error; nothing when
// no row was skipped.
void ReportSkippedRows(const std::string& command, const engine::RowIssues& issues);

}  // namespace cli
