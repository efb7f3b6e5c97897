// The texts a levels answer gives where its levels come from: the conversion method, the scope
// of expirations, the one expiration used and the gamma regime. The answer writer prints them,
// and the live service keeps them with each capture, so both say the same.
#pragma once

#include <string>

#include "engine/expiry_choice.h"
#include "engine/futures_mapping.h"

namespace engine {

// "ratio" when `mapping` maps the levels onto another chart, else "none".
std::string ConversionMethodText(const FuturesMapping& mapping);

// "all_expirations" for the legacy expiry mode, else "selected_expirations".
std::string ScopeText(const ExpiryChoice& expiry);

// The one expiration `expiry` used, or "" when it used several.
std::string SelectedExpirationText(const ExpiryChoice& expiry);

// "positive_gamma" for a net gamma exposure of 0 or more, else "negative_gamma".
std::string RegimeText(double netGex);

}  // namespace engine
