// The positioning engine end to end: an option chain and a few settings in, every level of a
// levels answer out (answer_writer.h turns it into the study's wire format).
#pragma once

#include <string>
#include <vector>

#include "engine/expiry_choice.h"
#include "engine/futures_mapping.h"
#include "engine/levels.h"
#include "engine/option_chain.h"
#include "engine/priced_chain.h"
#include "engine/strike_exposures.h"
#include "platform/services.h"

namespace engine {

inline constexpr double kDefaultRate = 0.045;
inline constexpr double kDefaultDividend = 0.0;

struct EngineSettings {
  bool hasSpot = false;  // else the chain's own spot
  double spot = 0;
  std::string asOf;  // as formats::ParseTypedTime reads it; empty: the chain's own time
  double rate = kDefaultRate;
  double dividend = kDefaultDividend;
  std::string symbol;  // the chain's underlying (any letter case); empty: what the chain says
  // How the as-of time was chosen, said after it in a message about it ("now; ..."); empty: given.
  std::string asOfNote;
  ExpiryRequest expiry;
  FuturesMapping mapping;
};

struct EngineAnswer {
  std::string requestedSymbol;  // the chart's symbol when mapped, else the underlying
  std::string resolvedSymbol;   // the underlying
  double asOfSeconds = 0;
  std::string sessionDate;  // New York date of the as-of time
  double ratio = 1;         // prices in the answer = underlying prices x ratio
  double priceTick = 0;     // mapped prices are rounded to this tick; 0: to a ten-thousandth
  std::string conversionNote, mappingNote, expirationNote;
  FuturesMapping mapping;
  ExpiryChoice expiry;
  PricedChain priced;
  std::vector<StrikeRow> rows;
  Levels levels;
  size_t contractsRead = 0;  // usable rows the reader kept
  RowIssues issues;          // the reader's and the expired contracts
};

// Computes the answer; symbols are written upper-cased. False, with a message, when the chain has
// no usable contract (the issues' hint appended when there is one), spot or time are missing or
// unreadable (neither in the chain nor in `settings`), the rate, dividend, ratio or mapping
// price are unusable, no contract expires after the as-of time (the time, `settings.asOfNote`
// and the chain's last expiration named), or the expiry request cannot be served.
bool RunEngine(const OptionChain& chain, const EngineSettings& settings, platform::Services& services,
               EngineAnswer* out, std::string* error);

// Seconds from `asOfSeconds` to the next 16:00 New York close on a weekday (today's when it is
// still ahead).
double SecondsToNextClose(platform::Services& services, double asOfSeconds);

}  // namespace engine
