#include "engine/futures_mapping.h"

#include <algorithm>
#include <cmath>

#include "text/format.h"

namespace engine {
namespace {

std::string Named(std::string_view symbol, const char* fallback) {
  return symbol.empty() ? std::string(fallback) : std::string(symbol);
}

// Where the ratio came from, as a phrase after "from" / inside the parentheses.
std::string RatioOrigin(const FuturesMapping& mapping, std::string_view target, std::string_view underlying,
                        double spot) {
  const std::string under = Named(underlying, "underlying");
  switch (mapping.source) {
    case FuturesMapping::Source::kFuturePrice:
      return text::Format("the %s price %g and the %s spot %g", Named(target, "futures"), mapping.price,
                          under, spot);
    case FuturesMapping::Source::kChartPrice:
      return text::Format("the chart's last price %g and the %s spot %g", mapping.price, under, spot);
    default: return "the ratio given";
  }
}

}  // namespace

std::string FutureSymbolOf(std::string_view underlying) {
  struct Pair {
    const char* underlying;
    const char* future;
  };
  static constexpr Pair kPairs[] = {{"QQQ", "NQ"},  {"NDX", "NQ"},  {"SPY", "ES"},
                                    {"SPX", "ES"},  {"GLD", "GC"},  {"SLV", "SI"},
                                    {"IWM", "RTY"}, {"RUT", "RTY"}, {"DIA", "YM"}};
  for (const Pair& p : kPairs) {
    if (underlying == p.underlying) return p.future;
  }
  return "";
}

double FutureTickOf(std::string_view future) {
  struct Tick {
    const char* future;
    double tick;
  };
  static constexpr Tick kTicks[] = {{"NQ", 0.25}, {"ES", 0.25}, {"YM", 1},
                                    {"RTY", 0.1}, {"GC", 0.1},  {"SI", 0.005}};
  // A contract ("NQZ25", "ESH2026") is its root, a month code and the year's digits.
  const size_t digits = future.size() - std::min(future.size(), future.find_last_not_of("0123456789") + 1);
  const bool contract =
      digits >= 1 && digits <= 4 && digits < future.size() &&
      std::string_view("FGHJKMNQUVXZ").find(future[future.size() - digits - 1]) != std::string_view::npos;
  for (const Tick& t : kTicks) {
    if (future == t.future) return t.tick;
    if (contract && future.substr(0, future.size() - digits - 1) == t.future) return t.tick;
  }
  return 0;
}

double MappedTick(const FuturesMapping& mapping, std::string_view target) {
  if (mapping.source == FuturesMapping::Source::kNone) return 0;
  return mapping.tickSize > 0 ? mapping.tickSize : FutureTickOf(target);
}

double RoundToTick(double price, double tick) {
  if (!(tick > 0) || !std::isfinite(tick) || !std::isfinite(price)) return price;
  const double steps = std::round(price / tick);
  // The tick's own decimals, so that the multiple lands on the double nearest its decimal text.
  double scale = 1;
  for (int decimals = 0; decimals < 9 && std::fabs(tick * scale - std::round(tick * scale)) > 1e-9 * scale;
       ++decimals) {
    scale *= 10;
  }
  return std::round(steps * tick * scale) / scale;
}

bool ConversionRatio(const FuturesMapping& mapping, double underlyingSpot, double* ratio) {
  double r = 1;
  switch (mapping.source) {
    case FuturesMapping::Source::kNone: break;
    case FuturesMapping::Source::kRatio: r = mapping.ratio; break;
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

std::string MappingNote(const FuturesMapping& mapping, std::string_view target, std::string_view underlying,
                        double underlyingSpot, double ratio) {
  if (mapping.source == FuturesMapping::Source::kNone) return "";
  return text::Format("%s -> %s ratio %.6g from %s.", Named(underlying, "underlying"), Named(target, "chart"),
                      ratio, RatioOrigin(mapping, target, underlying, underlyingSpot));
}

}  // namespace engine
