// Which configured symbol answers a request of the live service: a chain's underlying in its own
// units, or the futures symbol it is mapped onto, and for research the options source the study
// expects behind the symbol it sends.
#pragma once

#include <string>
#include <string_view>

#include "live/live_config.h"

namespace live {

struct ServedSymbol {
  const SymbolConfig* symbol = nullptr;  // null: the service does not carry what was asked
  bool mapped = false;                   // asked by its futures symbol: prices x the ratio
};

// The symbol serving levels and history for `requested`: a configured name, or the `future` of
// one. A futures request with a `source` (ES with source=SPX) must be mapped from that source.
// Matching is exact (the study sends upper case).
ServedSymbol FindServedSymbol(const LiveConfig& config, std::string_view requested, std::string_view source);

// The symbol serving research for `requested`: its options source, as the study derives it from
// the symbol and the ES source it sends (QQQ for NQ), must be configured, and `requested` must be
// that source itself or its future.
ServedSymbol FindResearchSymbol(const LiveConfig& config, std::string_view requested,
                                std::string_view source);

// The options source the study expects in a research answer for `requested` and `source`.
std::string ExpectedResearchSource(std::string_view requested, std::string_view source);

// "QQQ, NQ (from QQQ), SPX, ES (from SPX)": what the service carries, for failure messages.
std::string CarriedSymbolsText(const LiveConfig& config);

// What a service that carries `config` says to a request for `requested`: the symbols it
// carries, with `requested` shortened to 32 bytes.
std::string NotCarriedMessage(const LiveConfig& config, std::string_view requested);

}  // namespace live
