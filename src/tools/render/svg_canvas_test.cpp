#include "render/svg_canvas.h"

#include <gtest/gtest.h>

#include <string>

#include "render/chart_renderer.h"
#include "render/chart_theme.h"
#include "render/render_test_support.h"

namespace render {
namespace {

using testing::Band;
using testing::PanelText;
using testing::SmallChart;

size_t Count(const std::string& haystack, const std::string& needle) {
  size_t count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
    ++count;
  return count;
}

// The <text ...>...</text> element whose content is exactly `content`; empty when none.
std::string TextElement(const std::string& svg, const std::string& content) {
  const size_t end = svg.find(">" + content + "</text>");
  if (end == std::string::npos) return "";
  const size_t begin = svg.rfind("<text ", end);
  return begin == std::string::npos ? "" : svg.substr(begin, end - begin + content.size() + 8);
}

TEST(SvgCanvas, TextStaysTextEscaped) {
  struct Case {
    const char* input;
    const char* content;
  };
  const std::vector<Case> cases = {
      {"a<b & \"c\" 'd' >", "a&lt;b &amp; &quot;c&quot; &apos;d&apos; &gt;"},
      {"</text><script>", "&lt;/text&gt;&lt;script&gt;"},
  };
  for (const Case& c : cases) {
    SvgCanvas canvas(300, 200);
    canvas.Text(10, 20, c.input, MonoStyle(9, {1, 2, 3}));
    const std::string svg = canvas.Document();
    EXPECT_FALSE(TextElement(svg, c.content).empty()) << c.input << "\n" << svg;
    EXPECT_EQ(Count(svg, "<text "), 1u) << c.input;
    EXPECT_EQ(Count(svg, "<script"), 0u) << c.input;
  }
}

TEST(SvgCanvas, RenderedChartKeepsPanelTextsAsTextAndBandsTheirPaint) {
  host::DrawingRequest right = PanelText(71400, 30, 97.0, "ORDINEL  NQ", {105, 194, 255}, true, true);
  host::DrawingRequest left = PanelText(71401, 2, 90.0, "  Call Wall    21862.50", {220, 226, 238}, false);
  const host::DrawingRequest band = Band(71130, 5, 15, 180, 120, {115, 240, 176}, 85);
  SvgCanvas canvas(testing::kPictureWidth, testing::kPictureHeight);
  RenderChart(SmallChart(), {right, left, band}, canvas);
  const std::string svg = canvas.Document();
  EXPECT_NE(svg.find("<rect x=\"50\" y=\"54.07\" width=\"110\" height=\"115.86\" fill=\"#73f0b0\" "
                     "fill-opacity=\"0.15\"/>"),
            std::string::npos)
      << svg;

  const std::string title = TextElement(svg, "ORDINEL  NQ");
  ASSERT_FALSE(title.empty()) << svg;
  EXPECT_NE(title.find("text-anchor=\"end\""), std::string::npos) << title;
  EXPECT_NE(title.find("font-weight=\"bold\""), std::string::npos) << title;
  EXPECT_NE(title.find("fill=\"#69c2ff\""), std::string::npos) << title;
  EXPECT_NE(title.find("x=\"305\""), std::string::npos) << title;  // bar 30's column
  EXPECT_NE(title.find("Consolas"), std::string::npos) << title;

  const std::string row = TextElement(svg, "  Call Wall    21862.50");
  ASSERT_FALSE(row.empty());
  EXPECT_EQ(row.find("text-anchor"), std::string::npos) << row;
  EXPECT_EQ(row.find("font-weight"), std::string::npos) << row;
}

TEST(SvgCanvas, DocumentIsClosedWhateverTheClipsAndGroups) {
  SvgCanvas canvas(300, 200);
  canvas.BeginGroup("level-labels\"><script>");
  canvas.EndGroup();
  canvas.EndGroup();             // one too many: ignored
  canvas.BeginGroup("candles");  // left open
  canvas.PushClip({0, 0, 100, 100});
  canvas.PushClip({10, 10, 50, 50});
  canvas.PopClip();
  canvas.PopClip();
  canvas.PopClip();                 // one too many: ignored
  canvas.PushClip({0, 0, 10, 10});  // left open
  const std::string svg = canvas.Document();
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(Count(svg, "<g "), Count(svg, "</g>"));
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_NE(svg.find("id=\"clip3\""), std::string::npos);
  EXPECT_NE(svg.find("<g class=\"level-labels---script-\">\n</g>\n<g class=\"candles\">"), std::string::npos)
      << svg;
}

// A page whose policy allows no inline styles gets its texts without the style attribute; a
// file keeps it for viewers that ignore xml:space.
TEST(SvgCanvas, PageTextsCarryNoInlineStyle) {
  for (const SvgUse use : {SvgUse::kFile, SvgUse::kPage}) {
    SvgCanvas canvas(100, 50, use);
    canvas.Text(10, 20, "a  b", TextStyle{});
    const std::string document = canvas.Document();
    EXPECT_NE(document.find("xml:space=\"preserve\""), std::string::npos);
    EXPECT_EQ(document.find("style=") != std::string::npos, use == SvgUse::kFile) << document;
  }
}

}  // namespace
}  // namespace render
