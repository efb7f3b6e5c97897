// The checks a reader makes once its chain's contract list is complete: volatilities that only
// a percent reading explains, and contracts listed more than once.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/option_chain.h"

namespace engine {

// A decimal volatility above this (500 %) belongs to no market: its row is skipped.
inline constexpr double kMaxDecimalVolatility = 5;

// Where a reader found a contract.
struct ContractOrigin {
  size_t number = 0;  // the CSV line, or the JSON entry counted from 1
  std::string root;   // the option root when the chain names contracts by symbol, else empty
};

// How a reader names a row in the issues: "line 9", "option 9 (QQQ250117C00520000)".
using RowName = std::function<std::string(size_t number)>;

// Drops contracts from `chain->contracts` (`origins` parallel to it, in reading order) and
// counts each in `chain->issues` under `rowName` of its origin, in reading order:
// - a volatility above kMaxDecimalVolatility; when more than half of the contracts have one,
//   the column holds percents, every contract is dropped and `percentHint` becomes the issues'
//   hint;
// - a contract with the same root, expiration, strike and kind as an earlier one ("line 9:
//   duplicate of line 4"): the first is kept.
void ScreenContracts(const std::vector<ContractOrigin>& origins, const RowName& rowName,
                     const std::string& percentHint, OptionChain* chain);

}  // namespace engine
