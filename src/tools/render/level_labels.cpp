#include "render/level_labels.h"

#include <algorithm>
#include <cmath>

#include "palette/line_plan.h"
#include "render/chart_theme.h"
#include "render/display_text.h"
#include "render/label_layout.h"

namespace render {
namespace {

using host::DrawingKind;
using host::DrawingRequest;

constexpr double kRowGap = 2;
constexpr double kMaxShiftRows = 2.5;
constexpr double kBackingOpacity = 0.6;
constexpr double kBackingPad = 2;
constexpr double kArrowWidth = 10;  // the marker's arrow with the gap before its text
constexpr double kArrowRows = 6;
constexpr size_t kMinReadableChars = 6;
constexpr std::string_view kSeparator = " / ";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
// A label's parts: the study's suffixes follow a double blank, a level's long name its short
// one after " - ".
constexpr std::string_view kPartBreak = "  ";
constexpr std::string_view kNameBreak = " - ";

// A labelled line: on the plot, or beyond the scale's top (-1) or bottom (1) edge.
struct Level {
  const DrawingRequest* line = nullptr;
  double y = 0;  // the line's row; a marker's edge row
  int edge = 0;
  std::string text;    // as shown, after a marker's price
  std::string prefix;  // a marker's price and the blanks after it, kept whatever the room
};

struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// What a label is drawn with and where, shared by every label of one picture.
struct Setting {
  Canvas& canvas;
  const chart::ChartData& chart;
  TextStyle style;
  double boxHeight = 0;
  double rightEnd = 0;
  std::vector<Box> obstacles;
  double Width(std::string_view text) const { return canvas.TextWidth(text, style); }
};

std::vector<Level> CollectLevels(const chart::ChartData& chart, const PriceScale& scale,
                                 const std::vector<DrawingRequest>& drawings) {
  std::vector<const DrawingRequest*> lines;
  for (const DrawingRequest& d : drawings) {
    if (d.kind == DrawingKind::kHorizontalLine && !d.text.empty() && std::isfinite(d.beginValue))
      lines.push_back(&d);
  }
  std::stable_sort(lines.begin(), lines.end(), [](const DrawingRequest* a, const DrawingRequest* b) {
    return a->lineNumber < b->lineNumber;
  });
  std::vector<Level> levels;
  for (const DrawingRequest* d : lines) {
    if (InScale(scale, d->beginValue)) {
      levels.push_back({d, PriceY(scale, d->beginValue), 0, DisplayText(d->text), ""});
      continue;
    }
    const int edge = d->beginValue > scale.high ? -1 : 1;
    const std::string price = chart::FormatPriceForTick(d->beginValue, chart.tickSize);
    levels.push_back({d, edge < 0 ? double(scale.top) : double(scale.bottom), edge, DisplayText(d->text),
                      price + std::string(kPartBreak)});
  }
  return levels;
}

// The candles of the visible bars and the panel's backgrounds: what no label may cross.
std::vector<Box> Obstacles(const chart::ChartData& chart, const PriceScale& scale,
                           const std::vector<DrawingRequest>& drawings) {
  std::vector<Box> boxes;
  const int first = std::max(chart.visible.first, 0);
  const int last = std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1);
  for (int bar = first; bar <= last; ++bar) {
    const chart::Bar& b = chart.bars[static_cast<size_t>(bar)];
    const double left = chart::BarX(chart, bar) - chart.barSpacing / 2;
    boxes.push_back(
        {left, PriceY(scale, b.high), left + std::max(chart.barSpacing, 1), PriceY(scale, b.low)});
  }
  for (const DrawingRequest& d : drawings) {
    if (d.kind != DrawingKind::kPanelRectangle || !std::isfinite(d.beginValue) || !std::isfinite(d.endValue))
      continue;
    const double left = chart::BarX(chart, std::min(d.beginBar, d.endBar)) - chart.barSpacing / 2.0 - 4;
    const double right = chart::BarX(chart, std::max(d.beginBar, d.endBar)) + chart.barSpacing / 2.0 + 4;
    boxes.push_back({left, double(chart::PercentToY(chart.region, std::max(d.beginValue, d.endValue))), right,
                     double(chart::PercentToY(chart.region, std::min(d.beginValue, d.endValue)))});
  }
  return boxes;
}

// The leftmost column a label on rows top..bottom may take.
double LeftLimit(const Setting& s, double top, double bottom) {
  double limit = s.chart.region.left;
  for (const Box& box : s.obstacles) {
    const bool beside = box.top <= bottom && box.bottom >= top && box.left < s.rightEnd;
    if (beside) limit = std::max(limit, box.right + kLabelClearance);
  }
  return limit;
}

// Code points of `text`, which is valid UTF-8.
size_t Characters(std::string_view text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void DrawArrow(const Setting& s, double centreX, double row, int edge, host::Rgb colour) {
  for (int i = 0; i < kArrowRows; ++i) {
    const double half = 0.5 + i * 0.6;
    const double y = edge < 0 ? row - kArrowRows / 2 + i + 0.5 : row + kArrowRows / 2 - i - 0.5;
    s.canvas.Line(centreX - half, y, centreX + half, y, {colour, 1.0}, 1, Dash::kSolid);
  }
}

struct Run {
  std::string text;
  host::Rgb colour;
};

// The texts a group shows, each in its colour, fitted to the room left of the right end; a
// marker's price stays whole, its name is what gives way.
std::vector<Run> GroupRuns(const Setting& s, const std::vector<Level>& levels, const LabelGroup& group,
                           double room) {
  const Level& first = levels[group.members.front()];
  std::vector<Run> runs;
  double width = 0;
  for (const size_t m : group.members) {
    if (!runs.empty()) runs.push_back({std::string(kSeparator), kAxisText});
    runs.push_back({levels[m].prefix + levels[m].text, levels[m].line->colour});
  }
  for (const Run& run : runs) width += s.Width(run.text);
  if (width <= room) return runs;
  std::string joined;
  for (const Run& run : runs) joined += run.text;
  joined.erase(0, first.prefix.size());
  const double left = room - s.Width(first.prefix);
  const std::string fitted = FitLabelText(joined, left, [&s](std::string_view t) { return s.Width(t); });
  // Too narrow a room to read in (nothing, or a few characters cut short): the label is drawn
  // whole over what is beside it. A short name shown whole ("CW") reads well.
  const bool cut = fitted.size() >= kEllipsis.size() &&
                   std::string_view(fitted).substr(fitted.size() - kEllipsis.size()) == kEllipsis;
  const bool readable = !fitted.empty() && (!cut || Characters(fitted) >= kMinReadableChars);
  return {{first.prefix + (readable ? fitted : joined), first.line->colour}};
}

void DrawGroup(const Setting& s, const std::vector<Level>& levels, const LabelGroup& group) {
  const Level& first = levels[group.members.front()];
  const double top = group.row - s.boxHeight / 2;
  const double bottom = group.row + s.boxHeight / 2;
  const double arrow = first.edge != 0 ? kArrowWidth : 0;
  const std::vector<Run> runs = GroupRuns(s, levels, group, s.rightEnd - LeftLimit(s, top, bottom) - arrow);
  double width = 0;
  for (const Run& run : runs) width += s.Width(run.text);
  double x = s.rightEnd - width;
  s.canvas.FillRect({x - arrow - kBackingPad, top, width + arrow + 2 * kBackingPad, s.boxHeight},
                    {kBackground, kBackingOpacity});
  if (first.edge != 0) DrawArrow(s, x - arrow + 3.5, group.row, first.edge, first.line->colour);
  for (const Run& run : runs) {
    TextStyle style = s.style;
    style.paint = {run.colour, 1.0};
    s.canvas.Text(x, group.row, run.text, style);
    x += s.Width(run.text);
  }
  if (first.edge != 0) return;
  // A label away from its line points to the line's end at the price axis.
  for (const size_t m : group.members) {
    const Level& level = levels[m];
    if (level.y >= top - 1 && level.y <= bottom + 2) continue;
    s.canvas.Line(s.rightEnd + 1, group.row, s.chart.region.right, level.y, {level.line->colour, 1.0}, 1,
                  Dash::kSolid);
  }
}

}  // namespace

int LabelRank(int lineNumber) {
  switch (palette::LineBlockOf(lineNumber)) {
    case palette::kLbCoreLevels: return 0;
    case palette::kLbZoneBounds: return 1;
    case palette::kLbTopStrikes: return 3;
    default: return 2;
  }
}

std::string FitLabelText(const std::string& text, double room,
                         const std::function<double(std::string_view)>& width) {
  if (width(text) <= room) return text;
  std::string shown = text;
  for (const std::string_view mark : {kPartBreak, kNameBreak}) {
    for (size_t cut = shown.rfind(mark); cut != std::string::npos && cut > 0; cut = shown.rfind(mark)) {
      shown.erase(cut);
      while (!shown.empty() && shown.back() == ' ') shown.pop_back();
      if (width(shown) <= room) return shown;
    }
  }
  while (!shown.empty()) {
    do {
      shown.pop_back();
    } while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80);
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    if (!shown.empty() && width(shown + std::string(kEllipsis)) <= room)
      return shown + std::string(kEllipsis);
  }
  return "";
}

void DrawLevelLabels(Canvas& canvas, const chart::ChartData& chart, const PriceScale& scale,
                     const std::vector<DrawingRequest>& drawings) {
  const std::vector<Level> levels = CollectLevels(chart, scale, drawings);
  if (levels.empty()) return;
  Setting s{canvas,
            chart,
            MonoStyle(kLabelPoints, kAxisText),
            0,
            chart.region.right - kLabelInset,
            Obstacles(chart, scale, drawings)};
  s.style.vertical = VerticalAnchor::kCentre;
  const MonoFace face = ResolveMonoFace(s.style.family);
  s.boxHeight = (face.ascentEm + face.descentEm) * s.style.sizePx;
  LabelRoom room;
  room.rowHeight = s.boxHeight + kRowGap;
  room.low = chart.region.top + room.rowHeight / 2;
  room.high = chart.region.bottom - room.rowHeight / 2;
  room.maxShift = kMaxShiftRows * room.rowHeight;
  room.maxWidth = s.rightEnd - LeftLimit(s, chart.region.top, chart.region.bottom);
  room.separatorWidth = s.Width(kSeparator);
  std::vector<LabelSlot> slots;
  for (const Level& level : levels) {
    double row = level.y - 1 - s.boxHeight / 2;
    if (level.edge != 0) {
      // Markers stack from their edge in price order: the farther level nearer the edge.
      const double beyond =
          level.edge < 0 ? level.line->beginValue - scale.high : scale.low - level.line->beginValue;
      const double order = std::min(beyond / std::max(scale.high - scale.low, 1e-12), 1e6) * 1e-9;
      row = level.edge < 0 ? room.low - order : room.high + order;
    }
    slots.push_back({row, s.Width(level.prefix + level.text) + (level.edge != 0 ? kArrowWidth : 0),
                     LabelRank(level.line->lineNumber), level.edge != 0});
  }
  const std::vector<LabelGroup> groups = LayOutLabels(slots, room);
  for (const bool markers : {false, true}) {
    canvas.BeginGroup(markers ? "edge-markers" : "level-labels");
    for (const LabelGroup& group : groups) {
      if ((levels[group.members.front()].edge != 0) == markers) DrawGroup(s, levels, group);
    }
    canvas.EndGroup();
  }
}

}  // namespace render
