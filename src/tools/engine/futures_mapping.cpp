#include "engine/futures_mapping.h"

#include <cmath>

#include "text/format.h"

namespace engine {
namespace {

std::string Named(std::string_view symbol, const char* fallback) {
  return symbol.empty() ? std::string(fallback) : std::string(symbol);
}

// Where the ratio came from, as a phrase after "from" / inside the parentheses.
std::string RatioOrigin(const FuturesMapping& mapping, std::string_view target,
                        std::string_view underlying, double spot) {
  const std::string under = Named(underlying, "underlying");
  switch (mapping.source) {
    case FuturesMapping::Source::kFuturePrice:
      return text::Format("the %s price %g and the %s spot %g", Named(target, "futures"),
                          mapping.price, under, spot);
    case FuturesMapping::Source::kChartPrice:
      return text::Format("the chart's last price %g and the %s spot %g", mapping.price, under,
                          spot);
    default:
      return "the ratio given";
  }
}

}  // namespace

std::string FutureSymbolOf(std::string_view underlying) {
  struct Pair {
    const char* underlying;
    const char* future;
  };
  static constexpr Pair kPairs[] = {{"QQQ", "NQ"}, {"NDX", "NQ"}, {"SPY", "ES"}, {"SPX", "ES"},
                                    {"GLD", "GC"}, {"SLV", "SI"}, {"IWM", "RTY"}, {"RUT", "RTY"},
                                    {"DIA", "YM"}};
  for (const Pair& p : kPairs) {
    if (underlying == p.underlying) return p.future;
  }
  return "";
}

bool ConversionRatio(const FuturesMapping& mapping, double underlyingSpot, double* ratio) {
  double r = 1;
  switch (mapping.source) {
    case FuturesMapping::Source::kNone:
      break;
    case FuturesMapping::Source::kRatio:
      r = mapping.ratio;
      break;
    case FuturesMapping::Source::kFuturePrice:
    case FuturesMapping::Source::kChartPrice:
      if (!(underlyingSpot > 0)) return false;
      r = mapping.price / underlyingSpot;
      break;
  }
  if (!std::isfinite(r) || r <= 0) return false;
  *ratio = r;
  return true;
}

std::string ConversionNote(const FuturesMapping& mapping, std::string_view target,
                           std::string_view underlying, double underlyingSpot, double ratio) {
  if (mapping.source == FuturesMapping::Source::kNone) return "";
  return text::Format("%s levels from %s strikes x %.6g (%s).", Named(target, "Chart"),
                      Named(underlying, "underlying"), ratio,
                      RatioOrigin(mapping, target, underlying, underlyingSpot));
}

std::string MappingNote(const FuturesMapping& mapping, std::string_view target,
                        std::string_view underlying, double underlyingSpot, double ratio) {
  if (mapping.source == FuturesMapping::Source::kNone) return "";
  return text::Format("%s -> %s ratio %.6g from %s.", Named(underlying, "underlying"),
                      Named(target, "chart"), ratio,
                      RatioOrigin(mapping, target, underlying, underlyingSpot));
}

}  // namespace engine
