#include "render/price_axis.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "render/chart_theme.h"

namespace render {
namespace {

constexpr double kAxisTextInset = 6;
constexpr double kFlagPadding = 3;

struct Flag {
  double y = 0;
  host::Rgb colour;
  std::string text;
};

std::vector<Flag> CollectFlags(const chart::ChartData& chart, const PriceScale& scale,
                               const std::vector<host::DrawingRequest>& drawings) {
  std::vector<Flag> flags;
  const auto visible = [&](double y) { return y >= scale.top && y <= scale.bottom; };
  for (const host::DrawingRequest& d : drawings) {
    if (d.kind != host::DrawingKind::kHorizontalLine || !d.valueInPriceScale || !std::isfinite(d.beginValue)) continue;
    const double y = PriceY(scale, d.beginValue);
    if (visible(y)) flags.push_back({y, d.colour, chart::FormatPriceForTick(d.beginValue, chart.tickSize)});
  }
  const int last = std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1);
  if (last >= 0 && last >= chart.visible.first) {
    const chart::Bar& bar = chart.bars[static_cast<size_t>(last)];
    const host::Rgb colour = bar.close > bar.open ? kCandleUp : bar.close < bar.open ? kCandleDown : kCandleFlat;
    const double y = PriceY(scale, bar.close);
    if (visible(y)) flags.push_back({y, colour, chart::FormatPriceForTick(bar.close, chart.tickSize)});
  }
  return flags;
}

}  // namespace

std::vector<double> SpreadRows(const std::vector<double>& rows, double gap, double low, double high) {
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rows[a] < rows[b]; });
  std::vector<double> placed(rows.size());
  // Push down past the previous neighbour, then pull the whole run back up from the floor.
  double previous = low - gap;
  for (const size_t i : order) {
    placed[i] = std::max(rows[i], previous + gap);
    previous = placed[i];
  }
  double next = high + gap;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    placed[*it] = std::max(std::min(placed[*it], next - gap), low);
    next = placed[*it];
  }
  return placed;
}

void DrawGrid(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale) {
  for (const double price : AxisTicks(scale, kTickGapPx)) {
    const double y = std::floor(PriceY(scale, price)) + 0.5;
    canvas.Line(chart.region.left, y, chart.region.right, y, {kGrid, 1.0}, 1, Dash::kSolid);
  }
}

void DrawPriceAxis(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                   const std::vector<host::DrawingRequest>& drawings) {
  const double left = chart.region.right;
  const double width = canvas.Width() - left;
  if (width <= 0) return;
  canvas.FillRect({left, 0, width, double(canvas.Height())}, {kAxisBackground, 1.0});
  canvas.Line(left + 0.5, chart.region.top, left + 0.5, chart.region.bottom, {kAxisLine, 1.0}, 1,
              Dash::kSolid);

  TextStyle style = MonoStyle(kLabelPoints, kAxisText);
  style.vertical = VerticalAnchor::kCentre;
  for (const double price : AxisTicks(scale, kTickGapPx)) {
    const double y = PriceY(scale, price);
    canvas.Line(left, std::floor(y) + 0.5, left + 4, std::floor(y) + 0.5, {kAxisLine, 1.0}, 1, Dash::kSolid);
    canvas.Text(left + kAxisTextInset, y, chart::FormatPriceForTick(price, chart.tickSize), style);
  }

  const std::vector<Flag> flags = CollectFlags(chart, scale, drawings);
  const double flagHeight = style.sizePx + 2 * kFlagPadding;
  std::vector<double> rows;
  for (const Flag& flag : flags) rows.push_back(flag.y);
  rows = SpreadRows(rows, flagHeight, chart.region.top + flagHeight / 2, chart.region.bottom - flagHeight / 2);
  for (size_t i = 0; i < flags.size(); ++i) {
    const Rect box{left + 1, rows[i] - flagHeight / 2, width - 1, flagHeight};
    canvas.FillRect(box, {flags[i].colour, 1.0});
    TextStyle flagStyle = style;
    flagStyle.paint = {TextOn(flags[i].colour), 1.0};
    flagStyle.bold = true;
    canvas.Text(left + kAxisTextInset, rows[i], flags[i].text, flagStyle);
  }
}

}  // namespace render
