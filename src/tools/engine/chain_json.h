// An option chain in the JSON of an options exchange's public delayed-quote download: spot,
// time and one entry per contract named by its option symbol. The only file of the engine
// that reads JSON.
#pragma once

#include <string>
#include <string_view>

#include "engine/option_chain.h"

namespace engine {

// Reads {"timestamp": "YYYY-MM-DD HH:MM:SS", "data": {"current_price": S, "options": [{"option":
// SYMBOL, "iv": decimal, "open_interest": N, "volume": N, ...}]}} into `chain` (replacing it).
// The underlying comes from the most frequent option root; Greeks in the file are ignored. An
// entry that is not an object, has an unreadable symbol, a missing or non-finite volatility or
// open interest, a negative open interest or a volatility not above 0 is skipped and counted.
// False, with a message, when the text is not JSON or has no options array.
bool ReadExchangeJsonChain(std::string_view text, OptionChain* chain, std::string* error);

}  // namespace engine
