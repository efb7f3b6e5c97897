#include "render/chart_renderer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/chart_theme.h"
#include "render/level_labels.h"
#include "render/history_layer.h"
#include "render/price_axis.h"
#include "render/price_scale.h"
#include "render/time_axis.h"
#include "text/format.h"

namespace render {
namespace {

using host::DrawingKind;
using host::DrawingRequest;

constexpr double kCandleBodyFraction = 0.7;
constexpr double kPanelPadding = 4;
constexpr double kFooterHeight = 14;

double Opacity(int transparency) { return (100 - std::clamp(transparency, 0, 100)) / 100.0; }

Dash DashOf(int style) {
  if (style == 1) return Dash::kDashed;
  if (style == 2) return Dash::kDotted;
  return Dash::kSolid;
}

// Row centre for a line of `width` pixels, so that thin lines fall on whole pixels.
double CrispY(double y, double width) {
  const double row = std::round(y);
  return static_cast<int>(std::round(width)) % 2 == 1 ? std::floor(y) + 0.5 : row;
}

double BarLeft(const chart::ChartData& chart, int bar) {
  return chart::BarX(chart, bar) - chart.barSpacing / 2;
}

double BarRight(const chart::ChartData& chart, int bar) {
  return BarLeft(chart, bar) + std::max(chart.barSpacing, 1);
}

std::vector<const DrawingRequest*> OfKind(const std::vector<DrawingRequest>& drawings, DrawingKind kind) {
  std::vector<const DrawingRequest*> out;
  for (const DrawingRequest& d : drawings) {
    if (d.kind == kind) out.push_back(&d);
  }
  std::stable_sort(out.begin(), out.end(), [](const DrawingRequest* a, const DrawingRequest* b) {
    return a->lineNumber < b->lineNumber;
  });
  return out;
}

void DrawBands(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
               const std::vector<DrawingRequest>& drawings) {
  for (const DrawingRequest* d : OfKind(drawings, DrawingKind::kRectangle)) {
    if (!std::isfinite(d->beginValue) || !std::isfinite(d->endValue)) continue;
    const double left = BarLeft(chart, std::min(d->beginBar, d->endBar));
    const double right = BarRight(chart, std::max(d->beginBar, d->endBar));
    const double y0 = PriceY(scale, std::max(d->beginValue, d->endValue));
    const double y1 = PriceY(scale, std::min(d->beginValue, d->endValue));
    const Rect rect{left, y0, right - left, std::max(y1 - y0, 1.0)};
    const double opacity = Opacity(d->transparency);
    canvas.FillRect(rect, {d->fillColour, opacity});
    // An outline in the fill's own colour would only darken the seams between adjacent cells.
    if (!(d->colour == d->fillColour)) canvas.StrokeRect(rect, {d->colour, opacity}, std::max(d->width, 1));
  }
}

void DrawCandles(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale) {
  const int count = static_cast<int>(chart.bars.size());
  const int first = std::max(chart.visible.first, 0);
  const int last = std::min(chart.visible.last, count - 1);
  const double body = std::max(1.0, std::round(chart.barSpacing * kCandleBodyFraction));
  for (int bar = first; bar <= last; ++bar) {
    const chart::Bar& b = chart.bars[static_cast<size_t>(bar)];
    const host::Rgb colour = b.close > b.open ? kCandleUp : b.close < b.open ? kCandleDown : kCandleFlat;
    const double x = chart::BarX(chart, bar);
    canvas.Line(x + 0.5, PriceY(scale, b.high), x + 0.5, PriceY(scale, b.low), {colour, 1.0}, 1,
                Dash::kSolid);
    const double top = PriceY(scale, std::max(b.open, b.close));
    const double bottom = PriceY(scale, std::min(b.open, b.close));
    canvas.FillRect({x + 0.5 - body / 2, top, body, std::max(bottom - top, 1.0)}, {colour, 1.0});
  }
}

void DrawLines(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
               const std::vector<DrawingRequest>& drawings) {
  for (const DrawingRequest* d : OfKind(drawings, DrawingKind::kHorizontalLine)) {
    // A level beyond the scale is shown by its marker at the edge.
    if (!InScale(scale, d->beginValue)) continue;
    const double width = std::max(d->width, 1);
    const double y = CrispY(PriceY(scale, d->beginValue), width);
    canvas.Line(chart.region.left, y, chart.region.right, y, {d->colour, Opacity(d->transparency)}, width,
                DashOf(d->style));
  }
}

void DrawPanelBackgrounds(Canvas& canvas, const chart::ChartData& chart,
                          const std::vector<DrawingRequest>& drawings) {
  for (const DrawingRequest* d : OfKind(drawings, DrawingKind::kPanelRectangle)) {
    if (!std::isfinite(d->beginValue) || !std::isfinite(d->endValue)) continue;
    const double left = BarLeft(chart, std::min(d->beginBar, d->endBar)) - kPanelPadding;
    const double right = BarRight(chart, std::max(d->beginBar, d->endBar)) + kPanelPadding;
    const double top = chart::PercentToY(chart.region, std::max(d->beginValue, d->endValue));
    const double bottom = chart::PercentToY(chart.region, std::min(d->beginValue, d->endValue));
    const Rect rect{left, top, right - left, bottom - top};
    const double opacity = Opacity(d->transparency);
    canvas.FillRect(rect, {d->fillColour, opacity});
    canvas.StrokeRect({rect.x + 0.5, rect.y + 0.5, rect.width - 1, rect.height - 1}, {d->colour, opacity}, 1);
  }
}

void DrawTexts(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
               const std::vector<DrawingRequest>& drawings) {
  for (const DrawingRequest* d : OfKind(drawings, DrawingKind::kText)) {
    if (d->text.empty() || !std::isfinite(d->beginValue)) continue;
    const MonoFace face = ResolveMonoFace(d->fontFace);
    TextStyle style;
    style.family = face.family;
    style.sizePx = FontPixelSize(face, d->fontSize > 0 ? d->fontSize : kLabelPoints);
    style.bold = d->bold;
    style.paint = {d->colour, Opacity(d->transparency)};
    style.horizontal =
        (d->alignment & 3) == host::kAlignRight ? HorizontalAnchor::kEnd : HorizontalAnchor::kStart;
    style.vertical =
        (d->alignment & host::kAlignVerticalCentre) ? VerticalAnchor::kCentre : VerticalAnchor::kTop;
    const double y =
        d->relativeVertical ? chart::PercentToY(chart.region, d->beginValue) : PriceY(scale, d->beginValue);
    canvas.Text(chart::BarX(chart, d->beginBar), y, d->text, style);
  }
}

void DrawFooter(Canvas& canvas, const chart::ChartData& chart, double top) {
  if (canvas.Height() - top < kFooterHeight) return;
  TextStyle style = MonoStyle(kLabelPoints, kAxisText);
  style.vertical = VerticalAnchor::kCentre;
  const std::string text =
      text::Format("%s  tick %s  bars %d-%d of %d", chart.symbol,
                   chart::FormatPriceForTick(chart.tickSize, chart.tickSize), chart.visible.first,
                   chart.visible.last, static_cast<int>(chart.bars.size()));
  canvas.Text(chart.region.left + 6, (top + canvas.Height()) / 2.0, text, style);
}

}  // namespace

void RenderChart(const chart::ChartData& chart, const std::vector<DrawingRequest>& drawings, Canvas& canvas,
                 const HistoryLayer* history) {
  canvas.FillRect({0, 0, double(canvas.Width()), double(canvas.Height())}, {kBackground, 1.0});
  const PriceScale scale = FitPriceScale(chart, drawings);
  const host::RegionBounds& r = chart.region;
  // Bars with times get an axis under them when the picture leaves room for it.
  const bool timeAxis = VisibleBarsHaveTimes(chart) && canvas.Height() - r.bottom >= kTimeAxisHeight;
  const std::vector<TimeMark> marks = timeAxis ? NewYorkTimeMarks(chart) : std::vector<TimeMark>{};
  canvas.PushClip({double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)});
  DrawGrid(canvas, chart, scale);
  DrawTimeGrid(canvas, chart, marks);
  DrawBands(canvas, chart, scale, drawings);
  if (history != nullptr) DrawHistoryLayer(canvas, chart, scale, *history);
  canvas.BeginGroup("candles");
  DrawCandles(canvas, chart, scale);
  canvas.EndGroup();
  DrawLines(canvas, chart, scale, drawings);
  DrawLevelLabels(canvas, chart, scale, drawings);
  DrawPanelBackgrounds(canvas, chart, drawings);
  DrawTexts(canvas, chart, scale, drawings);
  canvas.PopClip();
  canvas.BeginGroup("price-axis");
  DrawPriceAxis(canvas, chart, scale, drawings);
  canvas.EndGroup();
  double footerTop = r.bottom;
  if (timeAxis) {
    DrawTimeAxis(canvas, chart, marks, footerTop);
    footerTop += kTimeAxisHeight;
  }
  DrawFooter(canvas, chart, footerTop);
}

}  // namespace render
