#include "render/price_scale.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr double kMarginFraction = 0.06;
// A flat or single bar still gets a span to measure the reach with.
constexpr double kMinSpanOfPrice = 0.002;
constexpr double kMinSpanInTicks = 10;
constexpr int kMaxTicks = 200;
constexpr double kFarRows = 100000;

struct Range {
  bool any = false;
  double low = 0;
  double high = 0;
  void Take(double price) {
    if (!std::isfinite(price)) return;
    low = any ? std::min(low, price) : price;
    high = any ? std::max(high, price) : price;
    any = true;
  }
};

Range VisibleBarsRange(const chart::ChartData& chart) {
  Range range;
  const int count = static_cast<int>(chart.bars.size());
  const int first = std::max(chart.visible.first, 0);
  const int last = std::min(chart.visible.last, count - 1);
  for (int bar = first; bar <= last; ++bar) {
    range.Take(chart.bars[static_cast<size_t>(bar)].low);
    range.Take(chart.bars[static_cast<size_t>(bar)].high);
  }
  return range;
}

// The prices a drawing occupies on the price scale; none for panel drawings.
std::vector<double> DrawingPrices(const host::DrawingRequest& d) {
  switch (d.kind) {
    case host::DrawingKind::kHorizontalLine:
      return {d.beginValue};
    case host::DrawingKind::kRectangle:
      return {d.beginValue, d.endValue};
    case host::DrawingKind::kText:
      if (!d.relativeVertical) return {d.beginValue};
      return {};
    case host::DrawingKind::kPanelRectangle:
      return {};
  }
  return {};
}

}  // namespace

PriceScale FitPriceScale(const chart::ChartData& chart,
                         const std::vector<host::DrawingRequest>& drawings) {
  PriceScale scale;
  scale.top = chart.region.top;
  scale.bottom = std::max(chart.region.bottom, chart.region.top + 1);
  const Range bars = VisibleBarsRange(chart);
  Range all = bars;
  double reachLow = -INFINITY;
  double reachHigh = INFINITY;
  if (bars.any) {
    const double mid = (bars.low + bars.high) / 2;
    const double tick = std::isfinite(chart.tickSize) && chart.tickSize > 0 ? chart.tickSize : 0;
    const double span = std::max({bars.high - bars.low, std::fabs(mid) * kMinSpanOfPrice,
                                  tick * kMinSpanInTicks});
    reachLow = bars.low - kScaleReach * span;
    reachHigh = bars.high + kScaleReach * span;
  }
  for (const host::DrawingRequest& d : drawings) {
    for (const double price : DrawingPrices(d)) {
      if (price >= reachLow && price <= reachHigh) all.Take(price);
    }
  }
  if (!all.any) return scale;
  double low = all.low;
  double high = all.high;
  if (!(high > low)) {
    const double pad = std::max(std::fabs(low) * kMinSpanOfPrice, 1.0);
    low -= pad;
    high += pad;
  }
  const double margin = (high - low) * kMarginFraction;
  scale.low = low - margin;
  scale.high = high + margin;
  return scale;
}

double PriceY(const PriceScale& scale, double price) {
  const double span = scale.high - scale.low;
  if (!(span > 0) || !std::isfinite(price)) return (scale.top + scale.bottom) / 2.0;
  const double y = scale.top + (scale.high - price) / span * (scale.bottom - scale.top);
  // Far-off prices stay far off without reaching coordinates a rasteriser cannot hold.
  return std::clamp(y, scale.top - kFarRows, scale.bottom + kFarRows);
}

std::vector<double> AxisTicks(const PriceScale& scale, double minGapPx) {
  const double span = scale.high - scale.low;
  const double pixels = scale.bottom - scale.top;
  if (!(span > 0) || !(pixels > 0) || !std::isfinite(span)) return {};
  const double minStep = span * std::max(minGapPx, 1.0) / pixels;
  const double power = std::pow(10.0, std::floor(std::log10(minStep)));
  double step = power * 10;
  for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (power * factor >= minStep) {
      step = power * factor;
      break;
    }
  }
  std::vector<double> ticks;
  const double firstIndex = std::ceil(scale.low / step);
  for (int i = 0; i < kMaxTicks; ++i) {
    const double price = (firstIndex + i) * step;  // no drift from repeated additions
    if (price > scale.high) break;
    ticks.push_back(price);
  }
  return ticks;
}

}  // namespace render
