#include "draw/level_primitives.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "panel/text_format.h"
#include "text/format.h"

namespace draw {
namespace {

constexpr double kTouchTolerance = 0.01;

bool ShowsGamma(int exposureMode) { return exposureMode != 2; }
bool ShowsDelta(int exposureMode) { return exposureMode != 1; }

}  // namespace

std::string TouchSuffix(const payload::LevelsSnapshot& snapshot, double price) {
  const uint32_t count = std::min(snapshot.densityCount, payload::kMaxDensityLevels);
  for (uint32_t i = 0; i < count; ++i) {
    if (std::fabs(snapshot.densityPrice[i] - price) < kTouchTolerance) {
      return "  P(touch) " + text::FixedPoint(snapshot.densityTouchPct[i], 0) + "%";
    }
  }
  return "";
}

std::string LevelLabelText(const PassContext& pass, std::string_view label, double price) {
  std::string text(label);
  if (pass.exposureSource != nullptr) {
    if (ShowsGamma(pass.settings.exposureMode)) {
      text += panel::FormatExposureSuffix(pass.exposureSource->gammaExposures, price, "GEX");
    }
    if (ShowsDelta(pass.settings.exposureMode)) {
      text += panel::FormatExposureSuffix(pass.exposureSource->deltaExposures, price, "DEX");
    }
  }
  if (pass.touchSource != nullptr && !label.empty()) text += TouchSuffix(*pass.touchSource, price);
  return text;
}

void DrawLevelLine(PassContext& pass, const LevelLine& line) {
  host::DrawingRequest request = pass.sc.NewDrawingRequest();
  request.chartNumber = pass.sc.ChartNumber();
  request.region = 0;
  request.kind = host::DrawingKind::kHorizontalLine;
  request.lineNumber = line.lineNumber;
  request.beginValue = line.price;
  request.colour = line.colour;
  request.width = line.width;
  request.style = line.style;
  request.valueInPriceScale = line.valueInPriceScale;
  if (line.labelOn) request.text = LevelLabelText(pass, line.label, line.price);
  pass.sc.SubmitDrawing(request);
  pass.drawnLines.push_back(line.lineNumber);
}

void DrawBand(PassContext& pass, int lineNumber, double low, double high, host::Rgb colour,
              int transparency) {
  const host::BarRange visible = pass.sc.VisibleBars();
  host::DrawingRequest request = pass.sc.NewDrawingRequest();
  request.chartNumber = pass.sc.ChartNumber();
  request.region = 0;
  request.kind = host::DrawingKind::kRectangle;
  request.lineNumber = lineNumber;
  request.beginBar = visible.first < 1 ? 0 : visible.first;
  // A band always spans at least one bar, also on a chart showing a single bar.
  request.endBar = std::max(request.beginBar + 1, visible.last);
  request.beginValue = high;
  request.endValue = low;
  request.colour = colour;
  request.fillColour = colour;
  request.width = 1;
  request.transparency = transparency;
  pass.sc.SubmitDrawing(request);
  pass.drawnLines.push_back(lineNumber);
}

host::Rgb SubgraphColour(const PassContext& pass, int subgraph) { return pass.settings.colours[subgraph]; }

void DrawOverlayLine(PassContext& pass, int lineNumber, double price, int subgraph, int style,
                     std::string_view label) {
  DrawLevelLine(pass, {.lineNumber = lineNumber,
                       .price = price,
                       .colour = SubgraphColour(pass, subgraph),
                       .width = 1,
                       .style = style,
                       .label = label,
                       .labelOn = pass.settings.labelLines,
                       .valueInPriceScale = false});
}

bool DrawOverlayLineIfPresent(PassContext& pass, int lineNumber, const payload::OptionalLevel& level,
                              int subgraph, int style, std::string_view label) {
  if (!level.has) return false;
  DrawOverlayLine(pass, lineNumber, level.value, subgraph, style, label);
  return true;
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace draw
