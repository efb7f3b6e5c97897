#include "render/svg_canvas.h"

#include <algorithm>

#include "render/display_text.h"
#include "render/mono_face.h"
#include "text/format.h"

namespace render {
namespace {

// Numbers with at most two decimals and no trailing zeros.
std::string Num(double value) {
  std::string text = text::Format("%.2f", value);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string Hex(host::Rgb colour) { return text::Format("#%02x%02x%02x", colour.r, colour.g, colour.b); }

// ` fill="#rrggbb"` plus an opacity attribute when the paint is not opaque.
std::string PaintAttributes(const char* attribute, const Paint& paint) {
  std::string out = text::Format(" %s=\"%s\"", attribute, Hex(paint.colour));
  const double opacity = std::clamp(paint.opacity, 0.0, 1.0);
  if (opacity < 1.0) out += text::Format(" %s-opacity=\"%s\"", attribute, Num(opacity));
  return out;
}

std::string DashArray(Dash dash, double width) {
  const double scale = std::max(width, 1.0);
  if (dash == Dash::kDashed)
    return text::Format(" stroke-dasharray=\"%s %s\"", Num(6 * scale), Num(4 * scale));
  if (dash == Dash::kDotted)
    return text::Format(" stroke-dasharray=\"%s %s\"", Num(1.5 * scale), Num(2.5 * scale));
  return "";
}

// The family list: the face this machine drew with, then the one the study asked for.
std::string FontFamilies(const std::string& family) {
  std::string clean;
  for (const char c : DisplayText(family)) {
    if (c != '\'' && c != '"' && c != ',') clean += c;
  }
  std::string out = "'" + clean + "'";
  if (clean != "Consolas") out += ", Consolas";
  return out + ", monospace";
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

SvgCanvas::SvgCanvas(int width, int height, SvgUse use)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), use_(use) {
  FillRect({0, 0, double(width_), double(height_)}, Paint{{0, 0, 0}, 1.0});
}

void SvgCanvas::FillRect(const Rect& rect, const Paint& paint) {
  if (!(rect.width > 0 && rect.height > 0)) return;
  body_ += text::Format("<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\"%s/>\n", Num(rect.x), Num(rect.y),
                        Num(rect.width), Num(rect.height), PaintAttributes("fill", paint));
}

void SvgCanvas::StrokeRect(const Rect& rect, const Paint& paint, double width) {
  if (!(width > 0)) return;
  body_ += text::Format(
      "<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\" fill=\"none\"%s stroke-width=\"%s\"/>\n",
      Num(rect.x), Num(rect.y), Num(rect.width), Num(rect.height), PaintAttributes("stroke", paint),
      Num(width));
}

void SvgCanvas::Line(double x0, double y0, double x1, double y1, const Paint& paint, double width,
                     Dash dash) {
  if (!(width > 0)) return;
  body_ += text::Format("<line x1=\"%s\" y1=\"%s\" x2=\"%s\" y2=\"%s\"%s stroke-width=\"%s\"%s/>\n", Num(x0),
                        Num(y0), Num(x1), Num(y1), PaintAttributes("stroke", paint), Num(width),
                        DashArray(dash, width));
}

void SvgCanvas::Text(double x, double y, std::string_view text, const TextStyle& style) {
  const std::string shown = DisplayText(text);
  if (shown.empty()) return;
  const double baseline = BaselineY(ResolveMonoFace(style.family), style.sizePx, y, style.vertical);
  body_ += text::Format(
      "<text x=\"%s\" y=\"%s\" font-family=\"%s\" font-size=\"%s\"%s%s%s "
      "xml:space=\"preserve\"%s>%s</text>\n",
      Num(x), Num(baseline), XmlEscape(FontFamilies(style.family)), Num(style.sizePx),
      style.bold ? " font-weight=\"bold\"" : "",
      style.horizontal == HorizontalAnchor::kEnd ? " text-anchor=\"end\"" : "",
      PaintAttributes("fill", style.paint), use_ == SvgUse::kFile ? " style=\"white-space:pre\"" : "",
      XmlEscape(shown));
}

double SvgCanvas::TextWidth(std::string_view text, const TextStyle& style) {
  const MonoFace face = ResolveMonoFace(style.family);
  return static_cast<double>(DisplayColumns(text)) * face.advanceEm * style.sizePx;
}

void SvgCanvas::PushClip(const Rect& rect) {
  ++clipCount_;
  ++openClips_;
  body_ += text::Format(
      "<clipPath id=\"clip%d\"><rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\"/></clipPath>\n"
      "<g clip-path=\"url(#clip%d)\">\n",
      clipCount_, Num(rect.x), Num(rect.y), Num(std::max(rect.width, 0.0)), Num(std::max(rect.height, 0.0)),
      clipCount_);
}

void SvgCanvas::PopClip() {
  if (openClips_ == 0) return;
  --openClips_;
  body_ += "</g>\n";
}

void SvgCanvas::BeginGroup(std::string_view name) {
  std::string clean(name);
  for (char& c : clean) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!plain) c = '-';
  }
  ++openGroups_;
  body_ += "<g class=\"" + clean + "\">\n";
}

void SvgCanvas::EndGroup() {
  if (openGroups_ == 0) return;
  --openGroups_;
  body_ += "</g>\n";
}

std::string SvgCanvas::Document() const {
  std::string out = text::Format(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n",
      width_, height_, width_, height_);
  out += body_;
  for (int i = 0; i < openClips_ + openGroups_; ++i) out += "</g>\n";
  out += "</svg>\n";
  return out;
}

}  // namespace render
