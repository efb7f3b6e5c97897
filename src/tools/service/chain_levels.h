// Levels answers computed by the positioning engine from one option chain, for the levels path
// of the sample service: `ordinel service --chain` and `ordinel chart --chain` serve them.
#pragma once

#include "engine/answer_writer.h"
#include "engine/engine.h"
#include "engine/option_chain.h"
#include "platform/services.h"
#include "service/fixture_catalogue.h"

namespace service {

struct ChainLevels {
  engine::OptionChain chain;
  // Spot, time, rates and the underlying; `settings.mapping` says how levels reach the futures
  // chart of the underlying (none: only the underlying's own symbol is served).
  engine::EngineSettings settings;
  platform::Services* services = nullptr;  // New York time for the engine; never null
  engine::ServiceStamp stamp;              // added to the envelope of every answer (the live service's)
};

// The levels answer for `request`: the query's "symbol" must be the chain's underlying (levels
// in its own units) or, with a mapping, the futures symbol it maps to; the expiry tail selects
// the expirations used. Any other symbol, or one that needs a mapping none was given for, gets
// the failure envelope "symbol_not_supported"; a selection the chain cannot serve
// "invalid_expiry_selection"; any other engine failure "engine_failed" with its message.
FixtureAnswer AnswerChainLevels(const ChainLevels& levels, const FixtureRequest& request);

// Computes the levels once, as a legacy request with the chain's settings and mapping would
// get them, so that a chain the engine cannot use is refused before anything is served; false
// with the engine's message.
bool CheckChainLevels(const ChainLevels& levels, std::string* error);

}  // namespace service
