// The drawing request record: one chart drawing, identified by its line number.
#pragma once

#include <string>

#include "host/colour.h"

namespace host {

enum class DrawingKind {
  kHorizontalLine,  // across the chart at beginValue
  kRectangle,       // bars beginBar..endBar, prices beginValue (top) .. endValue (bottom)
  kText,            // at beginBar, height beginValue (percent of the region when relativeVertical)
  kPanelRectangle,  // filled rectangle with heights in percent of the region
};

// Text alignment codes: horizontal part plus kAlignVerticalCentre.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignVerticalCentre = 4;

// The host defaults every drawing request starts from: the record size and interface version.
inline constexpr int kDrawingRequestSize = 1032;
inline constexpr int kHostInterfaceVersion = 2941;

// Starts from the host defaults; the study fills in what it draws.
struct DrawingRequest {
  int size = kDrawingRequestSize;
  int version = kHostInterfaceVersion;
  int chartNumber = 0;
  int region = 0;
  int lineNumber = 0;
  DrawingKind kind = DrawingKind::kHorizontalLine;
  int beginBar = 0;
  int endBar = 0;
  double beginValue = 0;  // price, or height in percent for relative placement
  double endValue = 0;
  Rgb colour;
  Rgb fillColour;
  int width = 1;
  int style = 0;         // 0 solid, 1 dashed, 2 dotted
  int transparency = 0;  // percent, 0 opaque .. 100 invisible
  std::string text;
  bool valueInPriceScale = false;
  int fontSize = 0;
  bool bold = false;
  std::string fontFace;
  int alignment = kAlignLeft;
  bool relativeVertical = false;
};

}  // namespace host
