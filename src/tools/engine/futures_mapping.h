// Levels of an ETF or index chain shown on a futures chart: every price is multiplied by a
// conversion ratio, and the answer says where the ratio came from.
#pragma once

#include <string>
#include <string_view>

namespace engine {

struct FuturesMapping {
  enum class Source {
    kNone,         // prices stay in the underlying's units
    kRatio,        // the ratio was given
    kFuturePrice,  // ratio = futures price / underlying spot
    kChartPrice,   // ratio = the chart's last price / underlying spot
  };
  Source source = Source::kNone;
  double ratio = 1;      // kRatio: the ratio given
  double price = 0;      // kFuturePrice, kChartPrice: that price
  std::string symbol;    // the chart's symbol ("NQ"); empty: the future of the underlying
};

// The futures root usually charted for an underlying ("QQQ" and "NDX" -> "NQ", "SPY" and "SPX"
// -> "ES", "GLD" -> "GC", "SLV" -> "SI", "IWM" and "RUT" -> "RTY", "DIA" -> "YM"); empty for
// any other.
std::string FutureSymbolOf(std::string_view underlying);

// The ratio prices are multiplied by: 1 without mapping; false for a ratio or price that is not
// a finite number above 0 (or a spot not above 0).
bool ConversionRatio(const FuturesMapping& mapping, double underlyingSpot, double* ratio);

// "NQ levels from QQQ strikes x 41.25 (ratio given)." and the like; empty without mapping.
std::string ConversionNote(const FuturesMapping& mapping, std::string_view target,
                           std::string_view underlying, double underlyingSpot, double ratio);

// "QQQ -> NQ ratio 41.25 from the NQ price 21500 and the QQQ spot 521.21." and the like; empty
// without mapping.
std::string MappingNote(const FuturesMapping& mapping, std::string_view target,
                        std::string_view underlying, double underlyingSpot, double ratio);

}  // namespace engine
