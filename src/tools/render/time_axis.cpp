#include "render/time_axis.h"

#include <algorithm>
#include <cmath>

#include "platform/civil_date.h"
#include "platform/posix/posix_services.h"
#include "render/chart_theme.h"
#include "text/format.h"

namespace render {
namespace {

constexpr double kMinute = 60;
constexpr double kHour = 3600;
constexpr double kDay = 86400;
constexpr double kSteps[] = {kMinute, 2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
                             kHour,   2 * kHour,   3 * kHour,   4 * kHour,    6 * kHour,    12 * kHour,
                             kDay,    2 * kDay,    7 * kDay,    14 * kDay,    30 * kDay};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr double kTickLength = 4;
constexpr double kTextInset = 3;

TextStyle MarkStyle(const TimeMark& mark) {
  TextStyle style = MonoStyle(kLabelPoints, mark.day ? kLightText : kAxisText, mark.day);
  style.vertical = VerticalAnchor::kCentre;
  return style;
}

struct VisibleSpan {
  int first = 0;
  int last = -1;
};

VisibleSpan Visible(const chart::ChartData& chart) {
  return {std::max(chart.visible.first, 0),
          std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1)};
}

// Seconds per bar over the visible bars that carry a time; 0 when fewer than two do.
double SecondsPerBar(const chart::ChartData& chart, VisibleSpan span) {
  int firstTimed = -1;
  int lastTimed = -1;
  for (int bar = span.first; bar <= span.last; ++bar) {
    if (!chart::HasTime(chart.bars[static_cast<size_t>(bar)])) continue;
    if (firstTimed < 0) firstTimed = bar;
    lastTimed = bar;
  }
  if (firstTimed < 0 || lastTimed == firstTimed) return 0;
  const double seconds =
      chart.bars[static_cast<size_t>(lastTimed)].time - chart.bars[static_cast<size_t>(firstTimed)].time;
  return seconds / (lastTimed - firstTimed);
}

double ChooseStep(double secondsPerBar, int spacing, double minGapPx) {
  if (!(secondsPerBar > 0)) return kDay;
  for (const double step : kSteps) {
    if (step / secondsPerBar * std::max(spacing, 1) >= minGapPx) return step;
  }
  return kSteps[std::size(kSteps) - 1];
}

std::string DayText(int64_t day) {
  const platform::CivilDate date = platform::CivilFromDays(day);
  return text::Format("%s %d", kMonths[std::clamp(date.month, 1, 12) - 1], date.day);
}

std::string HourText(double local, int64_t day) {
  const int minuteOfDay = static_cast<int>(std::floor((local - static_cast<double>(day) * kDay) / kMinute));
  return text::Format("%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
}

std::string DatedText(const chart::ChartData& chart, const ZoneOffset& offset, const TimeMark& mark) {
  const double time = chart.bars[static_cast<size_t>(mark.bar)].time;
  const double local = time + offset(time);
  const int64_t day = static_cast<int64_t>(std::floor(local / kDay));
  const std::string date = DayText(day) + text::Format(", %d", platform::CivilFromDays(day).year);
  return mark.day ? date : date + " " + HourText(local, day);
}

// Every mark learns its dated text; the first shows it (the first timed bar is marked when none is).
void DateTheMarks(const chart::ChartData& chart, const ZoneOffset& offset, VisibleSpan span,
                  std::vector<TimeMark>* marks) {
  for (int bar = span.first; marks->empty() && bar <= span.last; ++bar) {
    if (chart::HasTime(chart.bars[static_cast<size_t>(bar)])) marks->push_back({bar, "", false, ""});
  }
  for (TimeMark& mark : *marks) mark.dated = DatedText(chart, offset, mark);
  if (marks->empty()) return;
  marks->front().text = marks->front().dated;
  marks->front().day = true;
}

struct Placed {
  const TimeMark* mark;
  std::string text;
  double x;
  double end;
};

// The marks whose texts fit after each other: an hour gives way to a date, and the first text
// to a day change, which then names its year.
std::vector<Placed> PlaceTexts(Canvas& canvas, const chart::ChartData& chart,
                               const std::vector<TimeMark>& marks) {
  std::vector<Placed> placed;
  const auto make = [&](const TimeMark& mark, const std::string& text) {
    const double x = std::floor(chart::BarX(chart, mark.bar)) + 0.5 + kTextInset;
    return Placed{&mark, text, x, x + canvas.TextWidth(text, MarkStyle(mark))};
  };
  for (const TimeMark& mark : marks) {
    Placed next = make(mark, mark.text);
    const bool firstDated = placed.size() == 1 && placed[0].mark == &marks.front();
    if (!placed.empty() && placed.back().end + kTextInset > next.x) {
      if (!mark.day) continue;
      if (firstDated) next = make(mark, mark.dated);
      if (!firstDated && placed.back().mark->day) continue;
      placed.pop_back();
      if (!placed.empty() && placed.back().end + kTextInset > next.x) continue;
    }
    // A text the price axis would cut is left out rather than shown in part.
    if (next.end <= chart.region.right) placed.push_back(std::move(next));
  }
  return placed;
}

}  // namespace

bool VisibleBarsHaveTimes(const chart::ChartData& chart) {
  const VisibleSpan span = Visible(chart);
  for (int bar = span.first; bar <= span.last; ++bar) {
    if (chart::HasTime(chart.bars[static_cast<size_t>(bar)])) return true;
  }
  return false;
}

std::vector<TimeMark> TimeMarks(const chart::ChartData& chart, const ZoneOffset& offset, double minGapPx) {
  const VisibleSpan span = Visible(chart);
  const double step = ChooseStep(SecondsPerBar(chart, span), chart.barSpacing, minGapPx);
  std::vector<TimeMark> marks;
  bool havePrevious = false;
  int64_t previousDay = 0;
  int64_t previousSlot = 0;
  // The bar before the view decides whether the first visible bar starts a new step.
  for (int bar = std::max(span.first - 1, 0); bar <= span.last; ++bar) {
    const chart::Bar& b = chart.bars[static_cast<size_t>(bar)];
    if (!chart::HasTime(b)) continue;
    const double local = b.time + offset(b.time);
    const int64_t day = static_cast<int64_t>(std::floor(local / kDay));
    const int64_t slot = step >= kDay ? day / static_cast<int64_t>(step / kDay)
                                      : static_cast<int64_t>(std::floor(local / step));
    const bool newDay = havePrevious && day != previousDay;
    const bool newSlot = havePrevious && slot != previousSlot;
    havePrevious = true;
    previousDay = day;
    previousSlot = slot;
    // With steps of days and more a day change alone is no reason for a mark.
    const bool marked = step >= kDay ? newSlot : (newDay || newSlot);
    if (bar < span.first || !marked) continue;
    TimeMark mark{bar, "", newDay || step >= kDay, ""};
    mark.text = mark.day ? DayText(day) : HourText(local, day);
    if (!marks.empty() && (bar - marks.back().bar) * std::max(chart.barSpacing, 1) < minGapPx) {
      if (!mark.day || marks.back().day) continue;
      marks.pop_back();
    }
    marks.push_back(std::move(mark));
  }
  DateTheMarks(chart, offset, span, &marks);
  return marks;
}

std::vector<TimeMark> NewYorkTimeMarks(const chart::ChartData& chart) {
  platform::Services& zone = platform::DefaultServices();
  return TimeMarks(
      chart, [&zone](double utc) { return zone.NewYorkUtcOffsetSeconds(utc); }, kTimeMarkGapPx);
}

void DrawTimeGrid(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks) {
  for (const TimeMark& mark : marks) {
    const double x = std::floor(chart::BarX(chart, mark.bar)) + 0.5;
    canvas.Line(x, chart.region.top, x, chart.region.bottom, {kGrid, 1.0}, 1,
                mark.day ? Dash::kSolid : Dash::kDotted);
  }
}

void DrawTimeAxis(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks,
                  double top) {
  const host::RegionBounds& r = chart.region;
  canvas.FillRect({double(r.left), top, double(r.right - r.left), double(kTimeAxisHeight)},
                  {kAxisBackground, 1.0});
  canvas.Line(r.left, top + 0.5, r.right, top + 0.5, {kAxisLine, 1.0}, 1, Dash::kSolid);
  const double middle = top + kTimeAxisHeight / 2.0 + 1;
  canvas.BeginGroup("time-axis");
  canvas.PushClip({double(r.left), top, double(r.right - r.left), double(kTimeAxisHeight)});
  for (const TimeMark& mark : marks) {
    const double x = std::floor(chart::BarX(chart, mark.bar)) + 0.5;
    canvas.Line(x, top, x, top + kTickLength, {kAxisLine, 1.0}, 1, Dash::kSolid);
  }
  for (const Placed& p : PlaceTexts(canvas, chart, marks))
    canvas.Text(p.x, middle, p.text, MarkStyle(*p.mark));
  canvas.PopClip();
  TextStyle zone = MonoStyle(kLabelPoints, kAxisText);
  zone.vertical = VerticalAnchor::kCentre;
  const double room = canvas.Width() - r.right - 2 * kTextInset;
  if (canvas.TextWidth(kTimeZoneName, zone) <= room)
    canvas.Text(r.right + 2 * kTextInset, middle, kTimeZoneName, zone);
  canvas.EndGroup();
}

}  // namespace render
