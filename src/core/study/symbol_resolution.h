// Turns the chart's symbol, or the user's pick in "Requested symbol", into the short API
// symbol every request names, and maps an API symbol to the options source behind it.
#pragma once

#include <string>
#include <string_view>

namespace study {

// The entries 1-10 of the "Requested symbol" list; entry 0 is "AUTO".
inline constexpr const char* kRequestedSymbols[] = {"NQ", "ES",  "QQQ", "SPY", "GC",
                                                    "SI", "GLD", "SLV", "SPX", "NDX"};

// The list entry for `requestedIndex` 1-10; any other index resolves `chartSymbol`.
std::string ApiSymbolFromRequest(int requestedIndex, std::string_view chartSymbol);

// One of the ten supported API symbols for a chart symbol, or "" when it is not recognised.
std::string ResolveApiSymbol(std::string_view chartSymbol);

// The leading upper-case letters of the chart symbol's first meaningful segment, after
// upper-casing and skipping short or exchange prefixes ("F.US.EPZ25" -> "EPZ"); may be "".
std::string NormalizeChartSymbol(std::string_view chartSymbol);

// The underlying whose option chain backs `apiSymbol`: "QQQ" for "NQ", `esOptionsSource`
// for "ES", "GLD" for "GC", "SLV" for "SI", the symbol itself otherwise.
std::string ResearchSourceForSymbol(std::string_view apiSymbol, std::string_view esOptionsSource);

}  // namespace study
