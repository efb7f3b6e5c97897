// The time axis under the bars: the New York date at the first mark and at day changes,
// wall-clock hours within a day and the zone's name, for bars that carry a time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "render/canvas.h"

namespace render {

// Height in pixels of the axis strip below the chart region, and the least room between two
// marks' starts.
inline constexpr int kTimeAxisHeight = 16;
inline constexpr double kTimeMarkGapPx = 64;

// The zone the axis shows, named once in its corner.
inline constexpr const char* kTimeZoneName = "New York";

struct TimeMark {
  int bar = 0;
  std::string text;   // "Jan 2" at a day change, "09:30" within a day; the first as `dated`
  bool day = false;   // a date: a day change, or the first mark
  std::string dated;  // the text with its date and year: "Jan 2, 2025", "Jan 1, 2025 23:30"
};

// Seconds New York's wall clock is ahead of UTC at an instant (seconds since 1970).
using ZoneOffset = std::function<double(double)>;

// True when any visible bar carries a time.
bool VisibleBarsHaveTimes(const chart::ChartData& chart);

// The marks under the visible bars: the shortest step among 1, 2, 5, 10, 15 and 30 minutes,
// 1, 2, 3, 4, 6 and 12 hours, 1, 2, 7, 14 and 30 days whose marks lie at least `minGapPx` apart
// at the bars' average spacing in time; a bar is marked when its New York time enters a new
// step, a new day gets its date (with steps under a day also between steps), and a mark closer
// than `minGapPx` to the one before is dropped (a date replacing an hour). The first mark (the
// first timed visible bar when no bar is marked) says its date with the year ("Jan 2, 2025" or
// "Jan 2, 2025 02:30"), so that every view is dated. Bars without a time get none; none
// without visible bars.
std::vector<TimeMark> TimeMarks(const chart::ChartData& chart, const ZoneOffset& offset, double minGapPx);

// TimeMarks in New York time (platform::DefaultServices) at kTimeMarkGapPx.
std::vector<TimeMark> NewYorkTimeMarks(const chart::ChartData& chart);

// Faint vertical lines through the region at `marks` (solid at dates, dotted at hours).
void DrawTimeGrid(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks);

// The axis strip kTimeAxisHeight high from `top` under the region, with `marks` as ticks and
// texts (a text that would overlap the one before is left out, an hour's giving way to a date,
// and the first text to a day change, which then shows its year),
// and kTimeZoneName in the corner right of it when the price axis leaves room there; canvas
// group "time-axis".
void DrawTimeAxis(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks,
                  double top);

}  // namespace render
