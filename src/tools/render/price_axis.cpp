#include "render/price_axis.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/chart_theme.h"
#include "render/label_layout.h"

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
    if (d.kind != host::DrawingKind::kHorizontalLine || !d.valueInPriceScale || !std::isfinite(d.beginValue))
      continue;
    const double y = PriceY(scale, d.beginValue);
    if (visible(y)) flags.push_back({y, d.colour, chart::FormatPriceForTick(d.beginValue, chart.tickSize)});
  }
  const int last = std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1);
  if (last >= 0 && last >= chart.visible.first) {
    const chart::Bar& bar = chart.bars[static_cast<size_t>(last)];
    const host::Rgb colour = bar.close > bar.open   ? kCandleUp
                             : bar.close < bar.open ? kCandleDown
                                                    : kCandleFlat;
    const double y = PriceY(scale, bar.close);
    if (visible(y)) flags.push_back({y, colour, chart::FormatPriceForTick(bar.close, chart.tickSize)});
  }
  return flags;
}

// The flags' centre rows, moved apart so that none covers another.
std::vector<double> FlagRows(const chart::ChartData& chart, const std::vector<Flag>& flags,
                             double flagHeight) {
  std::vector<double> rows;
  for (const Flag& flag : flags) rows.push_back(flag.y);
  return SpreadRows(rows, flagHeight, chart.region.top + flagHeight / 2,
                    chart.region.bottom - flagHeight / 2);
}

// The marked prices with their ticks, but for a text a flag would cover.
void DrawMarks(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale, const TextStyle& style,
               const std::vector<double>& flagRows, double flagHeight) {
  const double left = chart.region.right;
  const MonoFace face = ResolveMonoFace(style.family);
  const double textHeight = (face.ascentEm + face.descentEm) * style.sizePx;
  for (const double price : AxisTicks(scale, kTickGapPx)) {
    const double y = PriceY(scale, price);
    canvas.Line(left, std::floor(y) + 0.5, left + 4, std::floor(y) + 0.5, {kAxisLine, 1.0}, 1, Dash::kSolid);
    const bool covered = std::any_of(flagRows.begin(), flagRows.end(), [&](double row) {
      return std::fabs(row - y) < (flagHeight + textHeight) / 2;
    });
    if (!covered)
      canvas.Text(left + kAxisTextInset, y, chart::FormatPriceForTick(price, chart.tickSize), style);
  }
}

}  // namespace

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
  const std::vector<Flag> flags = CollectFlags(chart, scale, drawings);
  const double flagHeight = style.sizePx + 2 * kFlagPadding;
  const std::vector<double> rows = FlagRows(chart, flags, flagHeight);
  DrawMarks(canvas, chart, scale, style, rows, flagHeight);
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
