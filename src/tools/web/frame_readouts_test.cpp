#include "web/frame_readouts.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/posix/posix_services.h"

namespace web {
namespace {

host::DrawingRequest Line(int number, double price, std::string text) {
  host::DrawingRequest d;
  d.lineNumber = number;
  d.kind = host::DrawingKind::kHorizontalLine;
  d.beginValue = price;
  d.colour = {0, 200, 83};
  d.text = std::move(text);
  return d;
}

std::string Readouts(const chart::ChartData& chart, const std::vector<host::DrawingRequest>& drawings) {
  std::string out;
  jsonout::JsonWriter w(&out, jsonout::JsonWriter::Layout::kCompact);
  w.BeginObject();
  WriteReadouts(w, chart, drawings, platform::DefaultServices());
  w.EndObject();
  return out;
}

TEST(FrameReadouts, VisibleBarsLastPriceAndLabelledLevels) {
  chart::ChartData chart;
  chart.bars = {
      {10, 12, 9, 11, 1735828200}, {11, 13.5, 10.25, 13, 1735828500}, {13, 14, 12, 12.5, chart::kNoBarTime}};
  chart.visible = {1, 2};
  chart.region = {8, 600, 0, 1000};
  host::DrawingRequest band = Line(4, 12, "a band");
  band.kind = host::DrawingKind::kRectangle;
  const std::vector<host::DrawingRequest> drawings = {Line(1, 21862.5, "CW - Call Wall"), Line(2, 12.25, ""),
                                                      Line(3, NAN, "broken"), band};
  const std::string json = Readouts(chart, drawings);
  struct Fragment {
    const char* what;
    const char* text;
  };
  const Fragment fragments[] = {
      {"the scale spans the region's rows", R"("priceScale":{"top":8,"bottom":600,)"},
      {"decimals of the 0.25 tick", R"("priceDecimals":2,)"},
      // From the first visible bar; a bar without a time has an empty one.
      {"visible bars", R"("bars":[["2025-01-02 09:35:00",11,13.5,10.25,13],["",13,14,12,12.5]],)"},
      {"the last close", R"("lastPrice":12.5,)"},
      // Only labelled horizontal lines with a price: no bare line, no NaN, no band.
      {"levels", R"("levels":[{"name":"CW - Call Wall","price":21862.5,"colour":"#00c853"}]})"},
  };
  for (const Fragment& f : fragments)
    EXPECT_NE(json.find(f.text), std::string::npos) << f.what << "\n" << json;
}

TEST(FrameReadouts, AChartWithoutBarsHasNoLastPrice) {
  chart::ChartData chart;
  chart.visible = {0, -1};
  const std::string json = Readouts(chart, {});
  EXPECT_NE(json.find(R"("bars":[],"lastPrice":null,"levels":[])"), std::string::npos) << json;
}

}  // namespace
}  // namespace web
