#include "render/chart_pictures.h"

#include "render/cairo_canvas.h"
#include "render/chart_renderer.h"
#include "render/svg_canvas.h"
#include "text/format.h"

namespace render {
namespace {

bool SideOk(int side) { return side >= kMinPictureSide && side <= kMaxPictureSide; }

}  // namespace

bool WriteChartPictures(const chart::ChartData& chart,
                        const std::vector<host::DrawingRequest>& drawings, int width, int height,
                        const std::string& pngPath, const std::string& svgPath, std::string* error) {
  if (!SideOk(width) || !SideOk(height)) {
    *error = text::Format("picture size %dx%d is outside %d..%d pixels per side", width, height,
                          kMinPictureSide, kMaxPictureSide);
    return false;
  }
  CairoCanvas png(width, height);
  RenderChart(chart, drawings, png);
  if (!png.WritePng(pngPath, error)) return false;
  SvgCanvas svg(width, height);
  RenderChart(chart, drawings, svg);
  return svg.WriteSvg(svgPath, error);
}

}  // namespace render
