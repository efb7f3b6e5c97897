// A short fingerprint of a chain as a source delivered it, so that a chain identical to the
// last capture (a holiday, a closed market) is recognised before anything is computed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/option_chain.h"

namespace store {

// Sixteen hex digits of a 64-bit FNV-1a hash over the chain's own time text and every field of
// every contract in order: equal for the same as-of text and the same contracts in the same
// order, different for any other chain but with odds of 2^-64.
std::string ChainDigest(std::string_view asOfText, const std::vector<engine::OptionContract>& contracts);

}  // namespace store
