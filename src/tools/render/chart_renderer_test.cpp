#include "render/chart_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "render/cairo_canvas.h"
#include "render/chart_theme.h"
#include "render/level_labels.h"
#include "render/render_test_support.h"

namespace render {
namespace {

using testing::Band;
using testing::Line;
using testing::PanelText;
using testing::SmallChart;

constexpr host::Rgb kMint{115, 240, 176};
constexpr host::Rgb kMagenta{250, 30, 250};  // magenta: no candle has this colour
constexpr host::Rgb kBlue{40, 40, 250};

// In SmallChart the price 150 lies on row 112, and column 100 lies between two candles.
constexpr int kRow150 = 112;
constexpr int kFreeColumn = 100;

struct Picture {
  explicit Picture(const std::vector<host::DrawingRequest>& drawings,
                   const chart::ChartData& chart = SmallChart())
      : canvas(testing::kPictureWidth, testing::kPictureHeight) {
    RenderChart(chart, drawings, canvas);
  }
  host::Rgb At(int x, int y) { return canvas.PixelAt(x, y); }
  // Columns on rows top..bottom whose pixel passes `match`.
  std::vector<int> Columns(int top, int bottom, const std::function<bool(host::Rgb)>& match) {
    std::vector<int> columns;
    for (int x = 0; x < canvas.Width(); ++x) {
      for (int y = top; y <= bottom; ++y) {
        if (match(At(x, y))) {
          columns.push_back(x);
          break;
        }
      }
    }
    return columns;
  }
  CairoCanvas canvas;
};

host::Rgb Blend(host::Rgb under, host::Rgb over, double opacity) {
  const auto mix = [&](uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(a * (1 - opacity) + b * opacity + 0.5);
  };
  return {mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b)};
}

bool Near(host::Rgb a, host::Rgb b, int tolerance = 2) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string Show(host::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

bool IsMagenta(host::Rgb c) { return c.r > 150 && c.g < 110 && c.b > 150; }
bool IsBlue(host::Rgb c) { return c.b > 150 && c.r < 110 && c.g < 110; }

TEST(ChartRenderer, BandColourFollowsTransparency) {
  struct Case {
    int transparency;
    double opacity;
  };
  for (const Case c :
       {Case{0, 1.0}, Case{85, 0.15}, Case{50, 0.5}, Case{100, 0.0}, Case{-20, 1.0}, Case{140, 0.0}}) {
    Picture picture({Band(71130, 5, 15, 180, 120, kMint, c.transparency)});
    const host::Rgb inside = picture.At(kFreeColumn, 100);
    EXPECT_TRUE(Near(inside, Blend(kBackground, kMint, c.opacity)))
        << "transparency " << c.transparency << " gave " << Show(inside);
    // Above the band's top price (row 52) and right of its last bar (column 160) stays clear.
    EXPECT_TRUE(Near(picture.At(kFreeColumn, 40), kBackground)) << "transparency " << c.transparency;
    EXPECT_TRUE(Near(picture.At(170, 100), kBackground)) << "transparency " << c.transparency;
  }
}

TEST(ChartRenderer, LineLabelEndsNearTheRightEdgeAboveItsLine) {
  const std::string label = "CW - Call Wall";
  Picture picture({Line(71000, 150, kMagenta, label)});
  const double width = picture.canvas.TextWidth(label, MonoStyle(kLabelPoints, kMagenta));
  const std::vector<int> columns = picture.Columns(kRow150 - 12, kRow150 - 2, IsMagenta);
  ASSERT_FALSE(columns.empty());
  const double end = 400 - kLabelInset;
  EXPECT_LE(columns.back(), end + 1);
  EXPECT_GE(columns.back(), end - 8);
  EXPECT_GE(columns.front(), end - width - 1);
  EXPECT_LE(columns.front(), end - width + 6);
  // The line itself runs across the region, under the label's row.
  EXPECT_TRUE(IsMagenta(picture.At(10, kRow150))) << Show(picture.At(10, kRow150));
  EXPECT_FALSE(IsMagenta(picture.At(10, kRow150 - 6)));
}

TEST(ChartRenderer, LineStyleAndWidth) {
  struct Case {
    int style;
    int width;
    double minCover;
    double maxCover;
  };
  const std::vector<Case> cases = {
      {0, 1, 0.97, 1.0}, {1, 1, 0.45, 0.75}, {2, 1, 0.2, 0.5}, {0, 3, 0.97, 1.0}};
  for (const Case& c : cases) {
    host::DrawingRequest line = Line(71000, 150, kMagenta);
    line.style = c.style;
    line.width = c.width;
    Picture picture({line});
    int covered = 0;
    for (int x = 0; x < 400; ++x) covered += IsMagenta(picture.At(x, kRow150)) ? 1 : 0;
    const double cover = covered / 400.0;
    EXPECT_GE(cover, c.minCover) << "style " << c.style << " width " << c.width;
    EXPECT_LE(cover, c.maxCover) << "style " << c.style << " width " << c.width;
    const bool thick = c.width == 3;
    EXPECT_EQ(IsMagenta(picture.At(kFreeColumn, kRow150 - 1)), thick && c.style == 0) << "style " << c.style;
    EXPECT_FALSE(IsMagenta(picture.At(kFreeColumn, kRow150 - 3))) << "style " << c.style;
  }
}

TEST(ChartRenderer, PanelTextAlignmentAtItsBar) {
  // Bar 20 lies on column 205; height 50 % on row 112.
  struct Case {
    bool right;
    const char* name;
    int anchorLow;  // where the edge at the anchor, the last column or the first, may fall
    int anchorHigh;
  };
  for (const Case c : {Case{true, "right-aligned", 198, 206}, Case{false, "left-aligned", 204, 208}}) {
    const std::string text = "LEVELS 21500";
    Picture picture({PanelText(71401, 20, 50.0, text, kBlue, c.right)});
    const double width = picture.canvas.TextWidth(text, MonoStyle(9, kBlue));
    const std::vector<int> columns = picture.Columns(kRow150 - 8, kRow150 + 8, IsBlue);
    ASSERT_FALSE(columns.empty()) << c.name;
    const int anchor = c.right ? columns.back() : columns.front();
    EXPECT_GE(anchor, c.anchorLow) << c.name;
    EXPECT_LE(anchor, c.anchorHigh) << c.name;
    EXPECT_LE(columns.back() - columns.front(), width + 2) << c.name;
    // Centred on its row: nothing of it far above or below.
    EXPECT_TRUE(picture.Columns(kRow150 - 14, kRow150 - 9, IsBlue).empty()) << c.name;
    EXPECT_TRUE(picture.Columns(kRow150 + 9, kRow150 + 14, IsBlue).empty()) << c.name;
  }
}

TEST(ChartRenderer, BoldTextIsHeavier) {
  const auto inked = [](bool bold) {
    Picture picture({PanelText(71400, 20, 50.0, "ORDINEL  NQ", kBlue, false, bold)});
    int count = 0;
    for (int x = 200; x < 330; ++x) {
      for (int y = kRow150 - 8; y <= kRow150 + 8; ++y) count += IsBlue(picture.At(x, y)) ? 1 : 0;
    }
    return count;
  };
  EXPECT_GT(inked(true), inked(false) * 1.15);
}

TEST(ChartRenderer, PanelBackgroundBlendsItsFill) {
  Picture picture({testing::PanelBackground({45, 55, 72}, {11, 15, 22}, 15)});
  const host::Rgb inside = picture.At(70, 40);
  EXPECT_TRUE(Near(inside, Blend(kBackground, {11, 15, 22}, 0.85))) << Show(inside);
  // Below its bottom height (row 89) the chart shows again.
  EXPECT_TRUE(Near(picture.At(70, 100), kBackground)) << Show(picture.At(70, 100));
}

// A line without a price draws nothing at all, flag included.
TEST(ChartRenderer, PriceScaleFlagOnlyWhenAskedAndPriced) {
  host::DrawingRequest lost = Line(71001, NAN, kBlue, "lost");
  lost.valueInPriceScale = true;
  for (const bool flag : {true, false}) {
    host::DrawingRequest line = Line(71000, 150, kMagenta);
    line.valueInPriceScale = flag;
    Picture picture({line, lost});
    EXPECT_TRUE(picture.Columns(0, testing::kPictureHeight - 1, IsBlue).empty()) << "flag " << flag;
    const host::Rgb axis = picture.At(472, kRow150);
    EXPECT_EQ(Near(axis, kMagenta), flag) << "flag " << flag << " gave " << Show(axis);
    if (!flag) {
      EXPECT_TRUE(Near(axis, kAxisBackground)) << Show(axis);
    }
  }
}

TEST(ChartRenderer, CandlesInTheirDirectionColours) {
  Picture picture({});
  EXPECT_TRUE(Near(picture.At(4, 100), kCandleUp)) << Show(picture.At(4, 100));      // bar 0 rises
  EXPECT_TRUE(Near(picture.At(14, 100), kCandleDown)) << Show(picture.At(14, 100));  // bar 1 falls
}

TEST(ChartRenderer, InvalidUtf8LabelDoesNotStopLaterDrawing) {
  const host::DrawingRequest panel = testing::PanelBackground(kMint, kMint, 0);
  Picture picture({Line(71000, 150, kMagenta, "bad \xC3 \xFF\xFE label"), panel,
                   PanelText(71400, 20, 30.0, "also \xE2\x82 bad", kBlue, false)});
  EXPECT_TRUE(Near(picture.At(70, 40), kMint)) << Show(picture.At(70, 40));
  EXPECT_FALSE(picture.Columns(150, 160, IsBlue).empty());
}

}  // namespace
}  // namespace render
