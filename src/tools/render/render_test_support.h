// Small charts and drawings for the renderer's tests.
#pragma once

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/chart_data.h"
#include "host/drawing_request.h"
#include "render/display_text.h"
#include "render/mono_face.h"
#include "text/format.h"

namespace render::testing {

// 40 bars alternating between 100 and 200 (so the scale of the visible bars spans 94..206),
// all visible, 10 pixels apart, in a 400 x 224 region at the top left of a 480 x 260 picture.
inline chart::ChartData SmallChart() {
  chart::ChartData chart;
  chart.symbol = "TEST";
  chart.tickSize = 0.25;
  for (int i = 0; i < 40; ++i) {
    chart.bars.push_back(i % 2 == 0 ? chart::Bar{110, 200, 100, 190} : chart::Bar{190, 200, 100, 110});
  }
  chart.visible = {0, 39};
  chart.region = {0, 224, 0, 400};
  chart.barSpacing = 10;
  return chart;
}

inline constexpr int kPictureWidth = 480;
inline constexpr int kPictureHeight = 260;

// A drawing of `kind` numbered `lineNumber` in `colour`; the helpers below fill in the rest.
inline host::DrawingRequest Drawing(host::DrawingKind kind, int lineNumber, host::Rgb colour) {
  host::DrawingRequest d;
  d.lineNumber = lineNumber;
  d.kind = kind;
  d.colour = colour;
  return d;
}

inline host::DrawingRequest Line(int lineNumber, double price, host::Rgb colour, std::string text = "") {
  host::DrawingRequest d = Drawing(host::DrawingKind::kHorizontalLine, lineNumber, colour);
  d.beginValue = price;
  d.text = std::move(text);
  return d;
}

inline host::DrawingRequest Band(int lineNumber, int beginBar, int endBar, double top, double bottom,
                                 host::Rgb colour, int transparency) {
  host::DrawingRequest d = Drawing(host::DrawingKind::kRectangle, lineNumber, colour);
  d.beginBar = beginBar;
  d.endBar = endBar;
  d.beginValue = top;
  d.endValue = bottom;
  d.fillColour = colour;
  d.transparency = transparency;
  return d;
}

inline host::DrawingRequest PanelText(int lineNumber, int bar, double height, std::string text,
                                      host::Rgb colour, bool rightAligned, bool bold = false) {
  host::DrawingRequest d = Drawing(host::DrawingKind::kText, lineNumber, colour);
  d.beginBar = bar;
  d.beginValue = height;
  d.relativeVertical = true;
  d.text = std::move(text);
  d.fontSize = 9;
  d.bold = bold;
  d.fontFace = "Consolas";
  d.alignment = (rightAligned ? host::kAlignRight : host::kAlignLeft) | host::kAlignVerticalCentre;
  return d;
}

// The panel's background over bars 2-12, from 95 % down to 60 % of the region's height.
inline host::DrawingRequest PanelBackground(host::Rgb colour, host::Rgb fill, int transparency) {
  host::DrawingRequest d = Band(71459, 2, 12, 95, 60, colour, transparency);
  d.kind = host::DrawingKind::kPanelRectangle;
  d.fillColour = fill;
  d.relativeVertical = true;
  return d;
}

// A box on the picture, and a text's with what it shows.
struct SvgBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  std::string text;  // a text element's characters, unescaped; empty for shapes
  bool Overlaps(const SvgBox& o, double slack = 0.02) const {
    return left + slack < o.right && o.left + slack < right && top + slack < o.bottom &&
           o.top + slack < bottom;
  }
};

// The value of attribute `name` in one element of the SVG canvas's output; empty when absent.
inline std::string SvgAttribute(std::string_view element, std::string_view name) {
  const std::string key = " " + std::string(name) + "=\"";
  const size_t at = element.find(key);
  if (at == std::string_view::npos) return "";
  const size_t begin = at + key.size();
  return std::string(element.substr(begin, element.find('"', begin) - begin));
}

inline double SvgNumber(std::string_view element, std::string_view name) {
  double value = 0;
  text::ParseDouble(SvgAttribute(element, name), &value);
  return value;
}

inline std::string XmlUnescape(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const auto* entity = std::find_if(std::begin(kEntities), std::end(kEntities), [&](const auto& e) {
      return text.substr(i, e.first.size()) == e.first;
    });
    out += entity == std::end(kEntities) ? text[i] : entity->second;
    i += entity == std::end(kEntities) ? 1 : entity->first.size();
  }
  return out;
}

// The box a text element of the SVG canvas takes, measured as the renderer measures it: the
// advance, ascent and descent of the first family it names, at its font size.
inline SvgBox SvgTextBox(std::string_view element) {
  std::string family = XmlUnescape(SvgAttribute(element, "font-family"));
  family = family.substr(0, family.find(','));
  if (family.size() >= 2 && family.front() == '\'') family = family.substr(1, family.size() - 2);
  const MonoFace face = ResolveMonoFace(family);
  const double size = SvgNumber(element, "font-size");
  const size_t open = element.find('>');
  const std::string shown = XmlUnescape(element.substr(open + 1, element.rfind("</text>") - open - 1));
  const double width = static_cast<double>(DisplayColumns(shown)) * face.advanceEm * size;
  const double x = SvgNumber(element, "x");
  const double y = SvgNumber(element, "y");
  const double left = SvgAttribute(element, "text-anchor") == "end" ? x - width : x;
  return {left, y - face.ascentEm * size, left + width, y + face.descentEm * size, shown};
}

// The boxes of the elements (one per line, as the SVG canvas writes them) inside every group of
// class `group`: texts, lines (their stroke's extent is left out) and rectangles.
inline std::vector<SvgBox> SvgBoxesIn(const std::string& document, std::string_view group) {
  std::vector<SvgBox> boxes;
  std::vector<bool> inside;
  size_t begin = 0;
  for (size_t end; (end = document.find('\n', begin)) != std::string::npos; begin = end + 1) {
    const std::string_view line(document.data() + begin, end - begin);
    if (line.rfind("<g", 0) == 0) {
      inside.push_back(SvgAttribute(line, "class") == group || (!inside.empty() && inside.back()));
      continue;
    }
    if (line == "</g>") {
      if (!inside.empty()) inside.pop_back();
      continue;
    }
    if (inside.empty() || !inside.back()) continue;
    if (line.rfind("<text", 0) == 0) {
      boxes.push_back(SvgTextBox(line));
    } else if (line.rfind("<line", 0) == 0) {
      const double x1 = SvgNumber(line, "x1"), x2 = SvgNumber(line, "x2");
      const double y1 = SvgNumber(line, "y1"), y2 = SvgNumber(line, "y2");
      boxes.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), ""});
    } else if (line.rfind("<rect", 0) == 0) {
      const double x = SvgNumber(line, "x"), y = SvgNumber(line, "y");
      boxes.push_back({x, y, x + SvgNumber(line, "width"), y + SvgNumber(line, "height"), ""});
    }
  }
  return boxes;
}

// The texts among `boxes`.
inline std::vector<SvgBox> TextsOf(const std::vector<SvgBox>& boxes) {
  std::vector<SvgBox> texts;
  for (const SvgBox& box : boxes) {
    if (!box.text.empty()) texts.push_back(box);
  }
  return texts;
}

// Pairs of overlapping boxes among `texts`, and texts crossing one of `others`, described.
inline std::vector<std::string> Collisions(const std::vector<SvgBox>& texts,
                                           const std::vector<SvgBox>& others) {
  std::vector<std::string> found;
  for (size_t i = 0; i < texts.size(); ++i) {
    for (size_t j = i + 1; j < texts.size(); ++j) {
      if (texts[i].Overlaps(texts[j]))
        found.push_back("'" + texts[i].text + "' overlaps '" + texts[j].text + "'");
    }
    for (const SvgBox& other : others) {
      if (texts[i].Overlaps(other)) {
        found.push_back("'" + texts[i].text + "' crosses a shape at x " + std::to_string(other.left) + ".." +
                        std::to_string(other.right) + " y " + std::to_string(other.top) + ".." +
                        std::to_string(other.bottom));
        break;
      }
    }
  }
  return found;
}

}  // namespace render::testing
