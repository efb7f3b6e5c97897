#include "render/chart_pictures.h"

#include "formats/file_replacement.h"
#include "render/cairo_canvas.h"
#include "render/chart_renderer.h"
#include "render/svg_canvas.h"
#include "text/fail.h"
#include "text/format.h"

namespace render {
namespace {

bool SideOk(int side) { return side >= kMinPictureSide && side <= kMaxPictureSide; }

}  // namespace

bool WriteChartPictures(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings,
                        int width, int height, const std::string& pngPath, const std::string& svgPath,
                        std::string* error, const HistoryLayer* history) {
  if (!SideOk(width) || !SideOk(height)) {
    *error = text::Format("picture size %dx%d is outside %d..%d pixels per side", width, height,
                          kMinPictureSide, kMaxPictureSide);
    return false;
  }
  std::string pngBytes;
  {
    // The surface goes before the SVG is drawn: at the largest size it holds 256 MB.
    CairoCanvas png(width, height);
    RenderChart(chart, drawings, png, history);
    if (!png.EncodePng(&pngBytes, error))
      return text::Fail(error, "cannot write '" + pngPath + "': " + *error);
  }
  SvgCanvas svg(width, height);
  RenderChart(chart, drawings, svg, history);
  // Both new files are complete on disk before either replaces an old one.
  formats::FileReplacement files;
  return files.Stage(pngPath, pngBytes, error) && files.Stage(svgPath, svg.Document(), error) &&
         files.Commit(error);
}

}  // namespace render
