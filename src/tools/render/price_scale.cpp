#include "render/price_scale.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

// A flat view gets a span of this share of its price, or this many ticks, whichever is more.
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
    case host::DrawingKind::kHorizontalLine: return {d.beginValue};
    case host::DrawingKind::kRectangle: return {d.beginValue, d.endValue};
    case host::DrawingKind::kText:
      if (!d.relativeVertical) return {d.beginValue};
      return {};
    case host::DrawingKind::kPanelRectangle: return {};
  }
  return {};
}

}  // namespace

PriceScale FitPriceScale(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings) {
  PriceScale scale;
  scale.top = chart.region.top;
  scale.bottom = std::max(chart.region.bottom, chart.region.top + 1);
  if (chart.priceScale && chart.priceScale->low < chart.priceScale->high &&
      std::isfinite(chart.priceScale->low) && std::isfinite(chart.priceScale->high)) {
    scale.low = chart.priceScale->low;
    scale.high = chart.priceScale->high;
    return scale;
  }
  Range range = VisibleBarsRange(chart);
  if (!range.any) {
    for (const host::DrawingRequest& d : drawings) {
      for (const double price : DrawingPrices(d)) range.Take(price);
    }
  }
  if (!range.any) return scale;
  double low = range.low;
  double high = range.high;
  if (!(high > low)) {
    // A flat view still gets a span: a few ticks, or a sliver of the price.
    const double tick = std::isfinite(chart.tickSize) && chart.tickSize > 0 ? chart.tickSize : 0;
    const double pad = std::max({std::fabs(low) * kMinSpanOfPrice, tick * kMinSpanInTicks, 1e-6}) / 2;
    low -= pad;
    high += pad;
  }
  const double margin = (high - low) * kScaleMargin;
  scale.low = low - margin;
  scale.high = high + margin;
  return scale;
}

bool InScale(const PriceScale& scale, double price) { return price >= scale.low && price <= scale.high; }

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
