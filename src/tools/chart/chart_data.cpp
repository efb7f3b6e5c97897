#include "chart/chart_data.h"

#include <algorithm>
#include <cmath>

#include "text/format.h"

namespace chart {
namespace {

constexpr int kMaxPriceDecimals = 8;

int FloorToInt(double value) {
  if (!std::isfinite(value)) return 0;
  const double clamped = std::clamp(std::floor(value), -2147483648.0, 2147483647.0);
  return static_cast<int>(clamped);
}

}  // namespace

std::vector<Bar> FlatBars(int count, double price) {
  if (count < 1) return {};
  return std::vector<Bar>(static_cast<size_t>(count), Bar{price, price, price, price});
}

ChartData DefaultChart() {
  ChartData chart;
  chart.bars = FlatBars(kDefaultBarCount, kDefaultPrice);
  chart.visible = LastBars(kDefaultBarCount, kDefaultVisibleBars);
  return chart;
}

host::BarRange LastBars(int barCount, int count) {
  if (barCount < 1) return {0, -1};
  return {std::max(0, barCount - std::max(count, 1)), barCount - 1};
}

int BarX(const ChartData& chart, int bar) {
  const long long x = static_cast<long long>(chart.region.left) +
                      static_cast<long long>(bar - chart.visible.first) * chart.barSpacing +
                      chart.barSpacing / 2;
  return static_cast<int>(std::clamp<long long>(x, -2147483648LL, 2147483647LL));
}

int PercentToY(const host::RegionBounds& region, double percent) {
  const double height = region.bottom - region.top;
  return FloorToInt(region.bottom - height * percent / 100.0);
}

int PriceToY(const ChartData& chart, double price) {
  const int count = static_cast<int>(chart.bars.size());
  const int first = std::max(chart.visible.first, 0);
  const int last = std::min(chart.visible.last, count - 1);
  double low = 0;
  double high = 0;
  for (int bar = first; bar <= last; ++bar) {
    const Bar& b = chart.bars[static_cast<size_t>(bar)];
    low = bar == first ? b.low : std::min(low, b.low);
    high = bar == first ? b.high : std::max(high, b.high);
  }
  const host::RegionBounds& r = chart.region;
  if (first > last || !(high > low)) return r.top + (r.bottom - r.top) / 2;
  return FloorToInt(r.top + (high - price) / (high - low) * (r.bottom - r.top));
}

bool ShowBars(ChartData* chart, int first, int last) {
  const int barCount = static_cast<int>(chart->bars.size());
  if (barCount == 0 || last < first) return false;
  const long long asked = static_cast<long long>(last) - first + 1;
  const int count =
      static_cast<int>(std::clamp<long long>(asked, std::min(kMinShownBars, barCount), barCount));
  const int width = BarsWidth(*chart);
  chart->barSpacing = std::clamp(width / count, 1, kMaxBarSpacing);
  const int shown = std::min(width / chart->barSpacing, barCount);
  const int newLast = std::clamp(last, shown - 1, barCount - 1);
  chart->visible = {newLast - shown + 1, newLast};
  return true;
}

int BarsWidth(const ChartData& chart) {
  const long long width =
      static_cast<long long>(chart.region.right) - chart.region.left - std::max(chart.rightMargin, 0);
  return static_cast<int>(std::clamp<long long>(width, 1, 2147483647LL));
}

bool ScalePrices(ChartData* chart, double low, double high) {
  if (!(low < high) || !std::isfinite(high - low)) return false;
  chart->priceScale = PriceRange{low, high};
  return true;
}

void AppendBars(ChartData* chart, const std::vector<Bar>& bars) {
  const int oldCount = static_cast<int>(chart->bars.size());
  chart->bars.insert(chart->bars.end(), bars.begin(), bars.end());
  const int added = static_cast<int>(bars.size());
  if (added == 0) return;
  if (oldCount == 0) {
    chart->visible = LastBars(added, kDefaultVisibleBars);
  } else if (chart->visible.last == oldCount - 1) {
    chart->visible.first += added;
    chart->visible.last += added;
  }
}

int PriceDecimals(double tickSize) {
  if (!std::isfinite(tickSize) || tickSize <= 0) return 2;
  double scaled = tickSize;
  for (int decimals = 0; decimals < kMaxPriceDecimals; ++decimals) {
    // A tick below one unit at this precision needs more decimals, however small it is.
    if (std::round(scaled) >= 1 &&
        std::fabs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, std::fabs(scaled))) {
      return decimals;
    }
    scaled *= 10;
  }
  return kMaxPriceDecimals;
}

std::string FormatPriceForTick(double price, double tickSize) {
  const std::string format = text::Format("%%.%df", PriceDecimals(tickSize));
  std::string out = text::Format(format, price);
  // A negative price that rounds to zero (or -0 itself) reads as a price below zero: "-0.00".
  if (out.size() > 1 && out[0] == '-' && out.find_first_not_of("0.", 1) == std::string::npos) out.erase(0, 1);
  return out;
}

}  // namespace chart
