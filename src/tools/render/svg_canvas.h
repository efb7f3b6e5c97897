// The SVG backend: writes the picture as SVG text in which every text run stays a <text>
// element (escaped, selectable, searchable) rather than glyph outlines.
#pragma once

#include <string>

#include "render/canvas.h"

namespace render {

// Where the SVG goes: a file of its own, or inside a web page whose stylesheet gives texts
// their white-space (a page that allows no inline styles refuses the attribute).
enum class SvgUse { kFile, kPage };

class SvgCanvas : public Canvas {
 public:
  // An opaque black picture of `width` x `height` pixels (each at least 1).
  SvgCanvas(int width, int height, SvgUse use = SvgUse::kFile);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRect(const Rect& rect, const Paint& paint) override;
  void StrokeRect(const Rect& rect, const Paint& paint, double width) override;
  void Line(double x0, double y0, double x1, double y1, const Paint& paint, double width, Dash dash) override;
  void Text(double x, double y, std::string_view text, const TextStyle& style) override;
  // The face's advance width times the number of characters, the width a viewer with the same
  // face installed draws.
  double TextWidth(std::string_view text, const TextStyle& style) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;
  // A <g class="name"> element; characters other than letters, digits and '-' become '-'.
  void BeginGroup(std::string_view name) override;
  void EndGroup() override;

  // The complete document so far, with clips and groups still open closed.
  std::string Document() const;

 private:
  int width_;
  int height_;
  SvgUse use_;
  std::string body_;
  int clipCount_ = 0;
  int openClips_ = 0;
  int openGroups_ = 0;
};

// `text` escaped for XML character data and attribute values (& < > " ').
std::string XmlEscape(std::string_view text);

}  // namespace render
