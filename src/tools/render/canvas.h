// The small drawing surface the chart renderer paints on. One renderer, two backends: cairo
// for PNG and an SVG writer that keeps every text as a text element.
#pragma once

#include <string>
#include <string_view>

#include "host/colour.h"

namespace render {

// A colour with its opacity (0 invisible .. 1 opaque).
struct Paint {
  host::Rgb colour;
  double opacity = 1.0;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

enum class Dash { kSolid, kDashed, kDotted };

enum class HorizontalAnchor { kStart, kEnd };  // the text starts at x, or ends at x
enum class VerticalAnchor { kTop, kCentre, kBaseline };

// One text run: the monospaced family and its size in pixels, weight, paint and anchor.
struct TextStyle {
  std::string family;
  double sizePx = 12;
  bool bold = false;
  Paint paint;
  HorizontalAnchor horizontal = HorizontalAnchor::kStart;
  VerticalAnchor vertical = VerticalAnchor::kBaseline;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Fills `rect`; a rectangle of no area draws nothing.
  virtual void FillRect(const Rect& rect, const Paint& paint) = 0;
  // Outlines `rect` with a line of `width` pixels centred on its edges.
  virtual void StrokeRect(const Rect& rect, const Paint& paint, double width) = 0;
  // A straight line from (x0, y0) to (x1, y1).
  virtual void Line(double x0, double y0, double x1, double y1, const Paint& paint, double width,
                    Dash dash) = 0;
  // Draws `text` (UTF-8; invalid bytes show as U+FFFD, control characters as blanks) at the
  // anchor point (x, y).
  virtual void Text(double x, double y, std::string_view text, const TextStyle& style) = 0;
  // The advance width of `text` in pixels as Text would draw it.
  virtual double TextWidth(std::string_view text, const TextStyle& style) = 0;

  // Later drawing is limited to `rect` until the matching PopClip; clips nest.
  virtual void PushClip(const Rect& rect) = 0;
  virtual void PopClip() = 0;

  // Later drawing belongs to a part of the picture named `name` (letters, digits and '-')
  // until the matching EndGroup, so that a reader of the document can tell what it is; pixels
  // do not change. A backend without parts ignores both.
  virtual void BeginGroup(std::string_view /*name*/) {}
  virtual void EndGroup() {}
};

}  // namespace render
