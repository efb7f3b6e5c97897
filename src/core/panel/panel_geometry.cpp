#include "panel/panel_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "palette/line_plan.h"

namespace panel {
namespace {

constexpr int kMinWidthBars = 10;
constexpr int kMaxWidthBars = 250;
constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 24;
constexpr double kDefaultSpacing = 2.4;
constexpr double kMinSpacing = 0.5;
constexpr double kMaxSpacing = 12.0;
constexpr int kMinWrapColumns = 12;
constexpr int kMaxWrapColumns = 120;
constexpr long long kMinUsablePixels = 20;
constexpr double kUsableHeightPercent = 94.0;
constexpr int kMaxRows = 55;
// An unfolded panel spends three rows on its title, controls and tabs; each other row is a
// content line with its own number in the content block.
static_assert(kMaxRows - 3 <= palette::LineCount(palette::kLbPanelContent));
constexpr long long kWrapMarginPixels = 12;

int RegionHeight(const host::RegionBounds& r) {
  const long long top = r.top, bottom = r.bottom, left = r.left, right = r.right;
  if (bottom > top + kMinUsablePixels && right > left + kMinUsablePixels) {
    return ClampToInt(bottom - top);
  }
  return 0;
}

// One line is never closer than fs * 1.6 + 4 pixels to the next.
double EffectiveSpacing(double input, int fontSize, int regionHeight) {
  double sp = std::isfinite(input) ? input : kDefaultSpacing;
  sp = std::clamp(sp, kMinSpacing, kMaxSpacing);
  if (regionHeight > 0) sp = std::max(sp, ((fontSize * 1.6 + 4.0) * 100.0) / regionHeight);
  return sp;
}

int WrapColumns(const host::StudyHost& sc, const PanelGeometry& g, int input) {
  int cols = std::clamp(input, kMinWrapColumns, kMaxWrapColumns);
  if (g.regionHeight <= 0) return cols;
  const long long pixels =
      std::llabs(static_cast<long long>(sc.BarXCoordinate(g.lastBar)) - sc.BarXCoordinate(g.firstBar));
  const double fit = std::trunc((pixels - kWrapMarginPixels) / (g.fontSize * 1.1));
  if (fit < cols) cols = static_cast<int>(fit);
  // A chart only a few bars wide cannot hold the panel anyway; one character per line would be
  // unreadable, so the columns never fall below the input's own minimum.
  return std::max(cols, kMinWrapColumns);
}

}  // namespace

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

PanelGeometry ComputePanelGeometry(const host::StudyHost& sc, const RenderSettings& settings) {
  PanelGeometry g;
  g.rightSide = settings.anchorIndex == 1 || settings.anchorIndex == 3;
  g.bottom = settings.anchorIndex == 2 || settings.anchorIndex == 3;

  const host::BarRange visible = sc.VisibleBars();
  int first = std::max(0, visible.first);
  int last = std::max(first, visible.last);
  const int span = std::min(std::clamp(settings.widthBars, kMinWidthBars, kMaxWidthBars), last - first);
  if (g.rightSide)
    first = last - span;
  else
    last = first + span;
  g.firstBar = first;
  g.lastBar = last;
  g.anchorBar = g.rightSide ? last : first;

  const host::RegionBounds region = sc.ChartRegion();
  g.regionBottom = region.bottom;
  g.regionHeight = RegionHeight(region);
  g.fontSize = std::clamp(settings.fontSize, kMinFontSize, kMaxFontSize);
  g.spacing = EffectiveSpacing(settings.lineSpacing, g.fontSize, g.regionHeight);
  g.wrapColumns = WrapColumns(sc, g, settings.wrapColumns);
  return g;
}

int PixelRow(const PanelGeometry& g, double heightPercent) {
  const double row = std::trunc(g.regionBottom - heightPercent / 100.0 * g.regionHeight);
  return static_cast<int>(std::clamp(row, double(INT_MIN), double(INT_MAX)));
}

int LineBudget(double spacing, int headerRows) {
  const double fit = spacing > 0 ? std::trunc(kUsableHeightPercent / spacing) : kMaxRows;
  const int rows = fit < kMaxRows ? static_cast<int>(fit) : kMaxRows;
  return std::max(0, rows - headerRows);
}

}  // namespace panel
