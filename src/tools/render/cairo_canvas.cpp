#include "render/cairo_canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "render/display_text.h"
#include "render/mono_face.h"

namespace render {
namespace {

constexpr double kDashOn = 6;
constexpr double kDashOff = 4;
constexpr double kDotOn = 1.5;
constexpr double kDotOff = 2.5;

double Channel(uint8_t value) { return value / 255.0; }

uint8_t Unpremultiply(uint32_t channel, uint32_t alpha) {
  if (alpha == 0) return 0;
  return static_cast<uint8_t>(std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

}  // namespace

CairoCanvas::CairoCanvas(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      cr_(cairo_create(surface_)) {
  ReleaseFontCachesAtExit();
  cairo_set_source_rgb(cr_, 0, 0, 0);
  cairo_paint(cr_);
}

CairoCanvas::~CairoCanvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void CairoCanvas::SetSource(const Paint& paint) {
  cairo_set_source_rgba(cr_, Channel(paint.colour.r), Channel(paint.colour.g), Channel(paint.colour.b),
                        std::clamp(paint.opacity, 0.0, 1.0));
}

void CairoCanvas::FillRect(const Rect& rect, const Paint& paint) {
  if (!(rect.width > 0 && rect.height > 0)) return;
  SetSource(paint);
  cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
  cairo_fill(cr_);
}

void CairoCanvas::StrokeRect(const Rect& rect, const Paint& paint, double width) {
  if (!(width > 0)) return;
  SetSource(paint);
  cairo_set_line_width(cr_, width);
  cairo_set_dash(cr_, nullptr, 0, 0);
  cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
  cairo_stroke(cr_);
}

void CairoCanvas::Line(double x0, double y0, double x1, double y1, const Paint& paint, double width,
                       Dash dash) {
  if (!(width > 0)) return;
  SetSource(paint);
  cairo_set_line_width(cr_, width);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  const double scale = std::max(width, 1.0);
  const double dashed[] = {kDashOn * scale, kDashOff * scale};
  const double dotted[] = {kDotOn * scale, kDotOff * scale};
  if (dash == Dash::kDashed) {
    cairo_set_dash(cr_, dashed, 2, 0);
  } else if (dash == Dash::kDotted) {
    cairo_set_dash(cr_, dotted, 2, 0);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
  cairo_move_to(cr_, x0, y0);
  cairo_line_to(cr_, x1, y1);
  cairo_stroke(cr_);
  cairo_set_dash(cr_, nullptr, 0, 0);
}

void CairoCanvas::SetFont(const TextStyle& style) {
  cairo_select_font_face(cr_, style.family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                         style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr_, style.sizePx > 0 ? style.sizePx : 1);
}

void CairoCanvas::Text(double x, double y, std::string_view text, const TextStyle& style) {
  // cairo refuses invalid UTF-8 by putting the whole context into an error state, which would
  // end all drawing after one bad label.
  const std::string shown = DisplayText(text);
  if (shown.empty()) return;
  SetFont(style);
  cairo_text_extents_t extents{};
  cairo_text_extents(cr_, shown.c_str(), &extents);
  double left = x;
  if (style.horizontal == HorizontalAnchor::kEnd) left = x - extents.x_advance;
  const double baseline = BaselineY(ResolveMonoFace(style.family), style.sizePx, y, style.vertical);
  SetSource(style.paint);
  cairo_move_to(cr_, left, baseline);
  cairo_show_text(cr_, shown.c_str());
  cairo_new_path(cr_);
}

double CairoCanvas::TextWidth(std::string_view text, const TextStyle& style) {
  const std::string shown = DisplayText(text);
  if (shown.empty()) return 0;
  SetFont(style);
  cairo_text_extents_t extents{};
  cairo_text_extents(cr_, shown.c_str(), &extents);
  return extents.x_advance;
}

void CairoCanvas::PushClip(const Rect& rect) {
  cairo_save(cr_);
  cairo_rectangle(cr_, rect.x, rect.y, std::max(rect.width, 0.0), std::max(rect.height, 0.0));
  cairo_clip(cr_);
  ++clipDepth_;
}

void CairoCanvas::PopClip() {
  if (clipDepth_ == 0) return;
  cairo_restore(cr_);
  --clipDepth_;
}

host::Rgb CairoCanvas::PixelAt(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  if (!data) return {};
  const int stride = cairo_image_surface_get_stride(surface_);
  uint32_t pixel = 0;
  std::memcpy(&pixel, data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, 4);
  const uint32_t alpha = pixel >> 24;
  return {Unpremultiply((pixel >> 16) & 0xFF, alpha), Unpremultiply((pixel >> 8) & 0xFF, alpha),
          Unpremultiply(pixel & 0xFF, alpha)};
}

bool CairoCanvas::EncodePng(std::string* png, std::string* error) {
  cairo_surface_flush(surface_);
  png->clear();
  const cairo_write_func_t append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface_, append, png);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  *error = std::string("cannot encode the PNG: ") + cairo_status_to_string(status);
  return false;
}

}  // namespace render
