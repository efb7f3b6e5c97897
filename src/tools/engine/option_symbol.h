// The standard option symbol: root, YYMMDD expiration, C or P, strike x 1000 in eight digits
// ("SPXW250117C05900000"; a root padded with blanks is accepted).
#pragma once

#include <string>
#include <string_view>

#include "engine/option_chain.h"

namespace engine {

struct OptionSymbol {
  std::string root;        // "SPXW"
  std::string expiration;  // "2025-01-17"
  OptionKind kind = OptionKind::kCall;
  double strike = 0;
};

// Reads `text`; false for any other shape, an impossible date or a zero strike (*out untouched).
// The root comes out upper-cased: "qqq250117c00520000" is a QQQ contract.
bool ParseOptionSymbol(std::string_view text, OptionSymbol* out);

// `symbol` as the engine compares and writes symbols: blanks around it dropped and ASCII letters
// upper-cased ("qqq " is "QQQ"); other bytes unchanged.
std::string CanonicalSymbol(std::string_view symbol);

// The underlying a root trades on: the weekly and PM-settled roots map to their index
// ("SPXW" -> "SPX", "NDXP" -> "NDX"); any other root is its own underlying.
std::string UnderlyingOfRoot(std::string_view root);

}  // namespace engine
