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
constexpr double kSteps[] = {kMinute,    2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
                             kHour,      2 * kHour,   3 * kHour,   4 * kHour,    6 * kHour,    12 * kHour,
                             kDay,       2 * kDay,    7 * kDay,    14 * kDay,    30 * kDay};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr double kTickLength = 4;
constexpr double kTextInset = 3;

struct VisibleSpan {
  int first = 0;
  int last = -1;
};

VisibleSpan Visible(const chart::ChartData& chart) {
  return {std::max(chart.visible.first, 0), std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1)};
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
  const double seconds = chart.bars[static_cast<size_t>(lastTimed)].time - chart.bars[static_cast<size_t>(firstTimed)].time;
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
    TimeMark mark{bar, "", newDay || step >= kDay};
    if (mark.day) {
      mark.text = DayText(day);
    } else {
      const int minuteOfDay = static_cast<int>(std::floor((local - static_cast<double>(day) * kDay) / kMinute));
      mark.text = text::Format("%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    }
    if (!marks.empty() && (bar - marks.back().bar) * std::max(chart.barSpacing, 1) < minGapPx) {
      if (!mark.day || marks.back().day) continue;
      marks.pop_back();
    }
    marks.push_back(std::move(mark));
  }
  return marks;
}

std::vector<TimeMark> NewYorkTimeMarks(const chart::ChartData& chart) {
  platform::Services& zone = platform::DefaultServices();
  return TimeMarks(chart, [&zone](double utc) { return zone.NewYorkUtcOffsetSeconds(utc); }, kTimeMarkGapPx);
}

void DrawTimeGrid(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks) {
  for (const TimeMark& mark : marks) {
    const double x = std::floor(chart::BarX(chart, mark.bar)) + 0.5;
    canvas.Line(x, chart.region.top, x, chart.region.bottom, {kGrid, 1.0}, 1, mark.day ? Dash::kSolid : Dash::kDotted);
  }
}

void DrawTimeAxis(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks, double top) {
  const host::RegionBounds& r = chart.region;
  canvas.FillRect({double(r.left), top, double(r.right - r.left), double(kTimeAxisHeight)}, {kAxisBackground, 1.0});
  canvas.Line(r.left, top + 0.5, r.right, top + 0.5, {kAxisLine, 1.0}, 1, Dash::kSolid);
  canvas.PushClip({double(r.left), top, double(r.right - r.left), double(kTimeAxisHeight)});
  for (const TimeMark& mark : marks) {
    const double x = std::floor(chart::BarX(chart, mark.bar)) + 0.5;
    canvas.Line(x, top, x, top + kTickLength, {kAxisLine, 1.0}, 1, Dash::kSolid);
    TextStyle style = MonoStyle(kLabelPoints, mark.day ? kLightText : kAxisText, mark.day);
    style.vertical = VerticalAnchor::kCentre;
    // A text the price axis would cut is left out rather than shown in part.
    if (x + kTextInset + canvas.TextWidth(mark.text, style) > r.right) continue;
    canvas.Text(x + kTextInset, top + kTimeAxisHeight / 2.0 + 1, mark.text, style);
  }
  canvas.PopClip();
}

}  // namespace render
