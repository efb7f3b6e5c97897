#include "panel/panel_layout.h"

#include <algorithm>
#include <cmath>

#include "palette/line_plan.h"
#include "panel/panel_selection.h"
#include "text/format.h"

namespace panel {
namespace {

using palette::LineNumber;

constexpr double kTopHeight = 97.0;
constexpr double kMaxBottomHeight = 96.0;
constexpr double kBottomMargin = 3.0;
constexpr double kHiddenLabelBottomHeight = 4.0;
constexpr double kLowestLineHeight = 1.0;
constexpr host::Rgb kOutlineColour{45, 55, 72};
constexpr host::Rgb kFillColour{11, 15, 22};

int CharWidth(int fontSize) { return std::max(5, static_cast<int>(std::trunc(fontSize * 0.72))); }

// Half the height of a clickable row in pixels, at least `minimum`.
int HalfRow(const PanelGeometry& g, int minimum) {
  return std::max(minimum, static_cast<int>(std::trunc(g.spacing / 100.0 * g.regionHeight * 0.5)));
}

// The rectangle of a text drawn at the anchor bar: its bytes plus two characters wide.
void AddTextHitRect(host::StudyHost& sc, PanelState* state, const PanelGeometry& g, double height,
                    const std::string& shown, std::string token, std::string value) {
  const int half = HalfRow(g, 7);
  const long long width = static_cast<long long>(CharWidth(g.fontSize)) * (shown.size() + 2);
  const long long x0 = sc.BarXCoordinate(g.anchorBar);
  const long long left = g.rightSide ? x0 - width : x0;
  const long long right = g.rightSide ? x0 : x0 + width;
  const long long y = PixelRow(g, height);
  AddHitRect(state, ClampToInt(left), ClampToInt(y - half), ClampToInt(right), ClampToInt(y + half),
             std::move(token), std::move(value));
}

void DrawBackground(host::StudyHost& sc, const PanelGeometry& g, double h0, size_t rows, int opacity,
                    std::vector<int>& drawnLines) {
  const double sp = g.spacing;
  host::DrawingRequest request = sc.NewDrawingRequest();
  request.chartNumber = sc.ChartNumber();
  request.region = 0;
  request.kind = host::DrawingKind::kPanelRectangle;
  request.lineNumber = LineNumber(palette::kLbPanelBackground);
  request.beginBar = g.firstBar;
  request.endBar = g.lastBar;
  request.beginValue = std::min(h0 + sp * 0.6, 100.0);
  request.endValue = std::max(h0 - rows * sp + sp * 0.4, 0.0);
  request.relativeVertical = true;
  request.colour = kOutlineColour;
  request.fillColour = kFillColour;
  request.width = 1;
  request.transparency = 100 - std::min(opacity, 100);
  sc.SubmitDrawing(request);
  drawnLines.push_back(LineNumber(palette::kLbPanelBackground));
}

void DrawHiddenLabel(host::StudyHost& sc, PanelState* state, const PanelGeometry& g,
                     const std::string& symbol, std::vector<int>& drawnLines) {
  const double height = g.bottom ? kHiddenLabelBottomHeight : kTopHeight;
  const std::string label = text::Format("[ GEX %s - show panel ]", symbol);
  DrawPanelText(sc, LineNumber(palette::kLbPanelTitle), g.anchorBar, height, label, kTitleColour, g.fontSize,
                true, g.rightSide, drawnLines);
  if (Clickable(g)) AddTextHitRect(sc, state, g, height, label, "show", "");
}

PanelButton Button(std::string label, std::string token, std::string value, bool active) {
  PanelButton button;
  button.label = std::move(label);
  button.token = std::move(token);
  button.value = std::move(value);
  button.active = active;
  return button;
}

std::vector<PanelButton> ControlButtons(const PanelState& s) {
  return {
      Button("Simple", "simple", "", s.simple),
      Button("Lines", "lines", "", !s.linesHidden),
      Button("Zones", "zones", "", !s.zonesHidden),
      Button(s.folded ? "Expand" : "Fold", "collapse", "", s.folded),
      Button("Hide", "hide", "", false),
  };
}

std::vector<PanelButton> TabButtons(const PanelState& s) {
  const char* labels[] = {"Levels", "Context", "Strikes", "Fear"};
  std::vector<PanelButton> buttons;
  for (int tab = 1; tab <= 4; ++tab) {
    buttons.push_back(Button(labels[tab - 1], "tab", text::Format("%d", tab), s.tab == tab));
  }
  return buttons;
}

bool GroupFolded(const PanelState& s, const std::string& group) {
  return (group == kGroupCore && s.coreFolded) || (group == kGroupZones && s.zonesFolded);
}

void DrawLines(host::StudyHost& sc, PanelState* state, const PanelGeometry& g,
               const std::vector<PanelLine>& lines, double height, std::vector<int>& drawnLines) {
  int drawn = 0;
  for (const PanelLine& line : lines) {
    if (height < kLowestLineHeight) break;
    const bool header = line.kind == kKindGroupHeader;
    const std::string shown =
        header ? text::Format("%s %s", GroupFolded(*state, line.group) ? "+" : "-", line.text) : line.text;
    DrawPanelText(sc, LineNumber(palette::kLbPanelContent, drawn), g.anchorBar, height, shown, line.colour,
                  g.fontSize, line.bold, g.rightSide, drawnLines);
    if (header && !line.group.empty() && Clickable(g)) {
      AddTextHitRect(sc, state, g, height, shown, "group", line.group);
    }
    ++drawn;
    height -= g.spacing;
  }
}

}  // namespace

void AddHitRect(PanelState* state, int left, int top, int right, int bottom, std::string token,
                std::string value) {
  if (right <= left || bottom <= top) return;
  state->hitRects.push_back({left, top, right, bottom, std::move(token), std::move(value)});
}

void DrawPanelText(host::StudyHost& sc, int lineNumber, int bar, double heightPercent,
                   const std::string& text, host::Rgb colour, int fontSize, bool bold, bool rightAligned,
                   std::vector<int>& drawnLines) {
  host::DrawingRequest request = sc.NewDrawingRequest();
  request.chartNumber = sc.ChartNumber();
  request.region = 0;
  request.kind = host::DrawingKind::kText;
  request.lineNumber = lineNumber;
  request.beginBar = bar;
  request.beginValue = heightPercent;
  request.relativeVertical = true;
  request.text = text;
  request.colour = colour;
  request.fontSize = fontSize;
  request.bold = bold;
  request.fontFace = "Consolas";
  request.alignment = (rightAligned ? host::kAlignRight : host::kAlignLeft) + host::kAlignVerticalCentre;
  sc.SubmitDrawing(request);
  drawnLines.push_back(lineNumber);
}

void DrawButtonRow(host::StudyHost& sc, PanelState* state, std::vector<PanelButton>& buttons,
                   int firstLineNumber, double heightPercent, const PanelGeometry& g,
                   std::vector<int>& drawnLines) {
  const int first = g.firstBar, last = g.lastBar;
  long long barPixels = 8;
  if (first < last) {
    const long long pixels = static_cast<long long>(sc.BarXCoordinate(last)) - sc.BarXCoordinate(first);
    const long long bars = static_cast<long long>(last) - first;
    if (pixels > 0 && bars > 0) barPixels = std::max(1LL, pixels / bars);
  }
  const long long cw = CharWidth(g.fontSize);
  long long total = 0;
  for (PanelButton& b : buttons) {
    const long long pixels = (static_cast<long long>(b.label.size()) + 2) * cw;
    b.widthBars = ClampToInt(std::max(1LL, (pixels + barPixels - 1) / barPixels));
    total += b.widthBars;
  }
  long long start = first;
  if (g.rightSide) start = std::max(static_cast<long long>(first), last - total);
  const int half = HalfRow(g, 6);
  const long long y = PixelRow(g, heightPercent);
  for (size_t i = 0; i < buttons.size(); ++i) {
    const PanelButton& b = buttons[i];
    const std::string label = text::Format(b.active ? "[%s]" : " %s ", b.label);
    DrawPanelText(sc, firstLineNumber + static_cast<int>(i), ClampToInt(start), heightPercent, label,
                  b.active ? kTitleColour : kInactiveColour, g.fontSize, b.active, false, drawnLines);
    if (Clickable(g)) {
      AddHitRect(state, sc.BarXCoordinate(ClampToInt(start)), ClampToInt(y - half),
                 sc.BarXCoordinate(ClampToInt(start + b.widthBars)), ClampToInt(y + half), b.token, b.value);
    }
    start += b.widthBars;
  }
}

void RenderPanel(host::StudyHost& sc, PanelState* state, const std::string& apiSymbol,
                 const std::vector<PanelLine>& lines, const RenderSettings& settings,
                 std::vector<int>& drawnLines) {
  state->hitRects.clear();
  const PanelGeometry g = ComputePanelGeometry(sc, settings);
  const std::string symbol = apiSymbol.empty() ? "-" : apiSymbol;
  if (state->hidden) {
    DrawHiddenLabel(sc, state, g, symbol, drawnLines);
    return;
  }

  std::vector<PanelLine> shown = SelectPanelLines(lines, *state);
  if (settings.wrap) shown = WrapPanelLines(std::move(shown), g.wrapColumns);
  const int headerRows = state->folded ? 2 : 3;
  if (state->folded)
    shown.clear();
  else
    ApplyLineBudget(&shown, LineBudget(g.spacing, headerRows));

  const double sp = g.spacing;
  const size_t rows = shown.size() + headerRows;
  const double h0 = g.bottom ? std::min(rows * sp + kBottomMargin, kMaxBottomHeight) : kTopHeight;
  if (settings.opacity > 0 && g.lastBar > g.firstBar) {
    DrawBackground(sc, g, h0, rows, settings.opacity, drawnLines);
  }

  const std::string title = text::Format("ORDINEL  %s%s", symbol, state->simple ? "   SIMPLE" : "");
  DrawPanelText(sc, LineNumber(palette::kLbPanelTitle), g.anchorBar, h0, title, kTitleColour, g.fontSize,
                true, g.rightSide, drawnLines);
  if (Clickable(g)) AddTextHitRect(sc, state, g, h0, title, "corner", "");

  std::vector<PanelButton> controls = ControlButtons(*state);
  DrawButtonRow(sc, state, controls, LineNumber(palette::kLbPanelControls), h0 - sp, g, drawnLines);
  if (state->folded) return;
  std::vector<PanelButton> tabs = TabButtons(*state);
  DrawButtonRow(sc, state, tabs, LineNumber(palette::kLbPanelTabs), h0 - 2 * sp, g, drawnLines);
  DrawLines(sc, state, g, shown, h0 - 3 * sp, drawnLines);
}

}  // namespace panel
