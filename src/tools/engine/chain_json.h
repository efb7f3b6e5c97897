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
// The underlying comes from the most frequent option root (upper-cased; on a tie the first in
// byte order); Greeks in the file are ignored. An entry that is not an object, has an unreadable
// symbol, a missing or non-finite volatility or open interest, a negative open interest, a
// volatility not above 0 or a volume that is not a number or negative is skipped and counted,
// and so are the entries ScreenContracts drops (a volatility above 500 %, a repeated symbol).
// False, with a message, when the text is not JSON, has no options array or goes on after the
// end of its document.
bool ReadExchangeJsonChain(std::string_view text, OptionChain* chain, std::string* error);

}  // namespace engine
