// The gamma profile: horizontal bars per strike growing leftwards from the last visible bar,
// scaled to the largest exposure inside the visible price range.
#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

constexpr int kMaxProfileBars = 80;
static_assert(kMaxProfileBars <= palette::LineCount(palette::kLbGammaProfile));
constexpr int kProfileTransparency = 74;
constexpr double kRangePadShare = 0.05;
constexpr double kBarLengthShare = 0.15;  // of the visible width, for the largest exposure
constexpr double kBarHeightShare = 0.4;   // of the tightest strike spacing, each side
constexpr double kFallbackSpacingShare = 0.01;

struct PriceRange {
  bool found = false;
  double lo = 0;
  double hi = 0;
};

// Lowest low and highest high of the existing bars first..last with sane prices.
PriceRange VisiblePriceRange(const host::StudyHost& sc, int first, int last) {
  PriceRange range;
  const int end = std::min(last, sc.BarCount() - 1);
  for (int bar = first; bar <= end; ++bar) {
    const double high = sc.BarHigh(bar);
    const double low = sc.BarLow(bar);
    if (!std::isfinite(high) || !std::isfinite(low) || low > high) continue;
    if (!range.found) range = {true, low, high};
    range.lo = std::min(range.lo, low);
    range.hi = std::max(range.hi, high);
  }
  return range;
}

double TightestSpacing(const std::vector<payload::StrikeValue>& points) {
  double spacing = std::numeric_limits<double>::infinity();
  for (size_t i = 1; i < points.size(); ++i) {
    const double gap = points[i].strike - points[i - 1].strike;
    if (gap > 0) spacing = std::min(spacing, gap);
  }
  return spacing;
}

bool Usable(const payload::StrikeValue& p, double lo, double hi) {
  return p.strike >= lo && p.strike <= hi && std::isfinite(p.value);
}

void SubmitBar(PassContext& pass, int lineNumber, int beginBar, int endBar, double price, double h,
               int subgraph) {
  host::DrawingRequest request = pass.sc.NewDrawingRequest();
  request.chartNumber = pass.sc.ChartNumber();
  request.region = 0;
  request.kind = host::DrawingKind::kRectangle;
  request.lineNumber = lineNumber;
  request.beginBar = beginBar;
  request.endBar = endBar;
  request.beginValue = price + h;
  request.endValue = price - h;
  request.colour = SubgraphColour(pass, subgraph);
  request.fillColour = request.colour;
  request.width = 1;
  request.transparency = kProfileTransparency;
  pass.sc.SubmitDrawing(request);
  pass.drawnLines.push_back(lineNumber);
}

}  // namespace

void DrawGammaProfile(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.gexProfile || s.profilePoints.size() < 2) return;
  const host::BarRange visible = pass.sc.VisibleBars();
  const int first = std::max(visible.first, 0);
  const int last = std::max(first + 1, visible.last);

  const PriceRange range = VisiblePriceRange(pass.sc, first, last);
  if (!range.found || !(range.lo < range.hi)) return;
  const double pad = (range.hi - range.lo) * kRangePadShare;
  const double lo = range.lo - pad;
  const double hi = range.hi + pad;

  int n = 0;
  double largest = 0;
  for (const payload::StrikeValue& p : s.profilePoints) {
    if (!Usable(p, lo, hi)) continue;
    ++n;
    largest = std::max(largest, std::fabs(p.value));
  }
  double spacing = TightestSpacing(s.profilePoints);
  if (!std::isfinite(spacing)) spacing = (hi - lo) * kFallbackSpacingShare;
  const double h = spacing * kBarHeightShare;
  const int maxLength = std::max(1, TruncateToInt((last - first) * kBarLengthShare));
  if (n < 2 || !(largest > 0) || !(h > 0)) return;

  int bars = 0;
  for (const payload::StrikeValue& p : s.profilePoints) {
    if (bars >= kMaxProfileBars) break;
    if (!Usable(p, lo, hi)) continue;
    const int length = std::max(1, TruncateToInt(std::fabs(p.value) / largest * maxLength + 0.5));
    const int beginBar = std::max(first, last - length);
    if (beginBar >= last) continue;
    SubmitBar(pass, palette::LineNumber(palette::kLbGammaProfile, bars), beginBar, last, p.strike, h,
              p.value >= 0 ? palette::kSgCallWall : palette::kSgPutWall);
    ++bars;
  }
}

}  // namespace draw
