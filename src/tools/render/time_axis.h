// The time axis under the bars: New York dates at day changes and wall-clock hours within a
// day, for bars that carry a time.
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

struct TimeMark {
  int bar = 0;
  std::string text;  // "Jan 2" at a day change, "09:30" within a day
  bool day = false;
};

// Seconds New York's wall clock is ahead of UTC at an instant (seconds since 1970).
using ZoneOffset = std::function<double(double)>;

// True when any visible bar carries a time.
bool VisibleBarsHaveTimes(const chart::ChartData& chart);

// The marks under the visible bars: the shortest step among 1, 2, 5, 10, 15 and 30 minutes,
// 1, 2, 3, 4, 6 and 12 hours, 1, 2, 7, 14 and 30 days whose marks lie at least `minGapPx` apart
// at the bars' average spacing in time; a bar is marked when its New York time enters a new
// step, a new day gets its date (with steps under a day also between steps), and a mark closer than `minGapPx` to the one before is
// dropped (a date replacing an hour). Bars without a time get none; none without visible bars.
std::vector<TimeMark> TimeMarks(const chart::ChartData& chart, const ZoneOffset& offset, double minGapPx);

// TimeMarks in New York time (platform::DefaultServices) at kTimeMarkGapPx.
std::vector<TimeMark> NewYorkTimeMarks(const chart::ChartData& chart);

// Faint vertical lines through the region at `marks` (solid at dates, dotted at hours).
void DrawTimeGrid(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks);

// The axis strip kTimeAxisHeight high from `top` under the region, with `marks` as ticks and texts.
void DrawTimeAxis(Canvas& canvas, const chart::ChartData& chart, const std::vector<TimeMark>& marks, double top);

}  // namespace render
