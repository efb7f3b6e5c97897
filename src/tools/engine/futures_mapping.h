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
  double ratio = 1;     // kRatio: the ratio given
  double price = 0;     // kFuturePrice, kChartPrice: that price
  std::string symbol;   // the chart's symbol ("NQ"); empty: the future of the underlying
  double tickSize = 0;  // the chart's price tick; 0: the usual tick of `symbol` (FutureTickOf)
};

// The futures root usually charted for an underlying ("QQQ" and "NDX" -> "NQ", "SPY" and "SPX"
// -> "ES", "GLD" -> "GC", "SLV" -> "SI", "IWM" and "RUT" -> "RTY", "DIA" -> "YM"); empty for
// any other.
std::string FutureSymbolOf(std::string_view underlying);

// The usual price tick of a futures root the engine maps to ("NQ" and "ES" 0.25, "YM" 1, "RTY"
// and "GC" 0.1, "SI" 0.005), or of one of its contracts ("NQZ25"); 0 for any other.
double FutureTickOf(std::string_view future);

// The tick mapped prices are rounded to: `mapping.tickSize` when given, else the usual tick of
// `target`; 0 (no tick) without mapping or for a future of unknown tick.
double MappedTick(const FuturesMapping& mapping, std::string_view target);

// `price` on the nearest multiple of `tick`, as the double nearest that decimal (0.1 x 3 is
// 0.3); `price` itself when `tick` is not a number above 0.
double RoundToTick(double price, double tick);

// The ratio prices are multiplied by: 1 without mapping; false for a ratio or price that is not
// a finite number above 0 (or a spot not above 0).
bool ConversionRatio(const FuturesMapping& mapping, double underlyingSpot, double* ratio);

// "NQ levels from QQQ strikes x 41.25 (ratio given)." and the like; empty without mapping.
std::string ConversionNote(const FuturesMapping& mapping, std::string_view target,
                           std::string_view underlying, double underlyingSpot, double ratio);

// "QQQ -> NQ ratio 41.25 from the NQ price 21500 and the QQQ spot 521.21." and the like; empty
// without mapping.
std::string MappingNote(const FuturesMapping& mapping, std::string_view target, std::string_view underlying,
                        double underlyingSpot, double ratio);

}  // namespace engine
