// The PNG backend: a cairo image surface of the picture's size.
#pragma once

#include <string>

#include "render/canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace render {

class CairoCanvas : public Canvas {
 public:
  // An opaque black picture of `width` x `height` pixels (each at least 1).
  CairoCanvas(int width, int height);
  ~CairoCanvas() override;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRect(const Rect& rect, const Paint& paint) override;
  void StrokeRect(const Rect& rect, const Paint& paint, double width) override;
  void Line(double x0, double y0, double x1, double y1, const Paint& paint, double width, Dash dash) override;
  void Text(double x, double y, std::string_view text, const TextStyle& style) override;
  double TextWidth(std::string_view text, const TextStyle& style) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;

  // The colour of the pixel at (x, y), opacity removed; black outside the picture.
  host::Rgb PixelAt(int x, int y);
  // The picture as the bytes of a PNG file in `*png`; false with `*error` saying why cairo
  // could not encode it.
  bool EncodePng(std::string* png, std::string* error);

 private:
  void SetSource(const Paint& paint);
  void SetFont(const TextStyle& style);

  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  int clipDepth_ = 0;
};

}  // namespace render
