// Small charts and drawings for the renderer's tests.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"

namespace render::testing {

// 40 bars alternating between 100 and 200 (so the scale of the visible bars spans 94..206),
// all visible, 10 pixels apart, in a 400 x 224 region at the top left of a 480 x 260 picture.
inline chart::ChartData SmallChart() {
  chart::ChartData chart;
  chart.symbol = "TEST";
  chart.tickSize = 0.25;
  for (int i = 0; i < 40; ++i) {
    chart.bars.push_back(i % 2 == 0 ? chart::Bar{110, 200, 100, 190} : chart::Bar{190, 200, 100, 110});
  }
  chart.visible = {0, 39};
  chart.region = {0, 224, 0, 400};
  chart.barSpacing = 10;
  return chart;
}

inline constexpr int kPictureWidth = 480;
inline constexpr int kPictureHeight = 260;

// A drawing of `kind` numbered `lineNumber` in `colour`; the helpers below fill in the rest.
inline host::DrawingRequest Drawing(host::DrawingKind kind, int lineNumber, host::Rgb colour) {
  host::DrawingRequest d;
  d.lineNumber = lineNumber;
  d.kind = kind;
  d.colour = colour;
  return d;
}

inline host::DrawingRequest Line(int lineNumber, double price, host::Rgb colour, std::string text = "") {
  host::DrawingRequest d = Drawing(host::DrawingKind::kHorizontalLine, lineNumber, colour);
  d.beginValue = price;
  d.text = std::move(text);
  return d;
}

inline host::DrawingRequest Band(int lineNumber, int beginBar, int endBar, double top, double bottom,
                                 host::Rgb colour, int transparency) {
  host::DrawingRequest d = Drawing(host::DrawingKind::kRectangle, lineNumber, colour);
  d.beginBar = beginBar;
  d.endBar = endBar;
  d.beginValue = top;
  d.endValue = bottom;
  d.fillColour = colour;
  d.transparency = transparency;
  return d;
}

inline host::DrawingRequest PanelText(int lineNumber, int bar, double height, std::string text,
                                      host::Rgb colour, bool rightAligned, bool bold = false) {
  host::DrawingRequest d = Drawing(host::DrawingKind::kText, lineNumber, colour);
  d.beginBar = bar;
  d.beginValue = height;
  d.relativeVertical = true;
  d.text = std::move(text);
  d.fontSize = 9;
  d.bold = bold;
  d.fontFace = "Consolas";
  d.alignment = (rightAligned ? host::kAlignRight : host::kAlignLeft) | host::kAlignVerticalCentre;
  return d;
}

// The panel's background over bars 2-12, from 95 % down to 60 % of the region's height.
inline host::DrawingRequest PanelBackground(host::Rgb colour, host::Rgb fill, int transparency) {
  host::DrawingRequest d = Band(71459, 2, 12, 95, 60, colour, transparency);
  d.kind = host::DrawingKind::kPanelRectangle;
  d.fillColour = fill;
  d.relativeVertical = true;
  return d;
}

}  // namespace render::testing
