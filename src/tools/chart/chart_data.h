// The chart a study runs on: symbol, tick size, bars, visible range and the pixel geometry of
// the price region, with the pure functions the host derives from them.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "formats/bar.h"
#include "host/study_host.h"

namespace chart {

using formats::Bar;
using formats::HasTime;
using formats::kNoBarTime;

// A span of prices, lowest first.
struct PriceRange {
  double low = 0;
  double high = 0;
};

struct ChartData {
  std::string symbol = "NQZ25";
  double tickSize = 0.25;
  std::vector<Bar> bars;
  host::BarRange visible;  // first and last visible bar; last < first when there are no bars
  host::RegionBounds region{20, 620, 0, 1000};
  int barSpacing = 8;  // pixels from one bar's column to the next
  // Pixels at the region's right edge that ShowBars leaves free of bars, as trading charts leave
  // room after the newest bar (its level labels go there). The bar x coordinates keep their rule.
  int rightMargin = 0;
  // The prices the plot spans when the user has scaled the price axis; none: it fits the bars.
  std::optional<PriceRange> priceScale;
};

inline constexpr int kDefaultBarCount = 200;
inline constexpr double kDefaultPrice = 21500;
inline constexpr int kDefaultVisibleBars = 100;

// `count` bars with open = high = low = close = `price`; none for a count below 1.
std::vector<Bar> FlatBars(int count, double price);

// The default chart: 200 flat bars at 21500, the last 100 visible.
ChartData DefaultChart();

// The last `count` of `barCount` bars (all of them when there are fewer); {0, -1} for no bars.
host::BarRange LastBars(int barCount, int count);

// Pixel column of the centre of `bar`: left + (bar - first visible) * spacing + spacing / 2.
int BarX(const ChartData& chart, int bar);

// Pixel row of a height given in percent of the region measured from its bottom (the row that
// contains it, so 100 is the top edge and 0 the bottom edge).
int PercentToY(const host::RegionBounds& region, double percent);

// Pixel row of `price` on the price scale spanned by the visible bars' lowest low (bottom edge)
// and highest high (top edge); the middle row when that span is empty or there are no bars.
int PriceToY(const ChartData& chart, double price);

// Fewest bars a scroll or zoom leaves visible (all of them on a shorter chart), and the widest
// bar spacing in pixels.
inline constexpr int kMinShownBars = 10;
inline constexpr int kMaxBarSpacing = 60;

// Shows the bars `first` .. `last` as well as the region allows, as a user's scroll or zoom
// does: the count is held within kMinShownBars .. the bar count, the spacing becomes the
// region's width less its right margin over it (1 .. kMaxBarSpacing pixels), as many bars as
// that spacing fits there are visible, and the range is moved inside the chart keeping `last`
// where it can. False, with nothing changed, when the chart has no bars or `last` < `first`.
bool ShowBars(ChartData* chart, int first, int last);

// Pixels of the region's width that the bars may take: its width less the right margin, at
// least 1.
int BarsWidth(const ChartData& chart);

// Sets the price scale to `low` .. `high`, as dragging the price axis does. False, with nothing
// changed, unless `low` < `high` and the span between them is finite.
bool ScalePrices(ChartData* chart, double low, double high);

// Appends `bars`; a view that showed the last bar scrolls along so it still shows it.
void AppendBars(ChartData* chart, const std::vector<Bar>& bars);

// Decimals the tick size needs (0.25 gives 2, 0.1 gives 1, 1 gives 0, 0.005 gives 3), at most 8;
// 2 for a tick size that is not a positive finite number.
int PriceDecimals(double tickSize);

// `price` with PriceDecimals(tickSize) decimals, independent of the process locale; a value
// that rounds to zero prints without a sign ("0.00", never "-0.00").
std::string FormatPriceForTick(double price, double tickSize);

}  // namespace chart
