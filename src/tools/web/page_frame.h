// What the chart page shows at one moment, as the JSON document the server pushes to it: the
// chart as SVG from the renderer, its geometry, the study's settings (inputs and subgraph
// colours), the message log, the time of the last levels answer and the levels' past.
#pragma once

#include <optional>
#include <string>

#include "chart/chart_host.h"
#include "render/history_layer.h"
#include "platform/services.h"

namespace web {

// The message log entries a frame carries at most (the latest ones).
inline constexpr size_t kFrameLogEntries = 200;

struct LevelsAnswerSeen {
  double time = 0;  // session clock, seconds since 1970
  long status = 0;
};

struct FrameFacts {
  long long version = 0;
  int width = 0;  // picture size in pixels
  int height = 0;
  double now = 0;  // the session clock
  std::optional<LevelsAnswerSeen> lastAnswer;
  const render::HistoryLayer* history = nullptr;  // drawn behind the candles when given
  bool historyOn = false;                         // the page's "Level history" toggle
  std::string historyStatus{};                    // what came of the history of the chart's day
};

// The frame of `host` as one line of compact JSON (no raw line breaks, so that it fits one
// server-sent event): version, symbol, width, height, svg, region, rightMargin (the
// pixels at the region's right left free of bars), barSpacing, visible,
// barCount, sizeLimits (the sizes ReadChartSize takes), the readouts (WriteReadouts: the price
// scale among them), chartTime (the newest bar's time; null for bars without one), clock (the
// session's clock), lastAnswer (null before the first), log, inputs (slot order: slot, label,
// kind, value as InputValueText, section as chart::InputSection, takes as chart::InputTakes
// within the dialog's limits, min and max when declared, choices) subgraphs (number, name, colour
// as "#rrggbb") and history (on, status). Times are New York wall-clock texts through `zone`.
std::string FrameJson(const chart::ChartHost& host, const FrameFacts& facts, platform::Services& zone);

// The value of an input as the settings dialog shows it and chart::SetInputFromText takes it
// back: "Yes"/"No", whole numbers, floats in their shortest exact text, a choice's text (its
// index when beyond the list) and text as it is.
std::string InputValueText(const chart::InputEntry& entry);

// "YYYY-MM-DD hh:mm:ss" of `utc` on New York's wall clock.
std::string NewYorkTimeText(double utc, platform::Services& zone);

}  // namespace web
