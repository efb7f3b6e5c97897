// A deterministic synthetic option chain of any size for tests and the benchmark: daily then
// weekly expirations from 2025-01-02, whole-number strikes around spot, a volatility skew and
// open interest heavier on round strikes.
#pragma once

#include <cstddef>

#include "engine/option_chain.h"

namespace engine {

// About `contracts` contracts (rounded to whole strike pairs) around `spot`, as of 2025-01-02
// 10:42:10 New York, with the spot in the chain.
OptionChain SyntheticChain(size_t contracts, double spot);

}  // namespace engine
