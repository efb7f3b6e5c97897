// The two drawings every chart layer is made of, a labelled horizontal level line and a shaded
// price band, and the context one drawing pass hands to them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/draw_settings.h"
#include "host/study_host.h"
#include "payload/levels_snapshot.h"

namespace draw {

// What one drawing pass shares with its layers: the host, the user's settings, the line
// numbers submitted so far and the snapshots that feed the label suffixes (none outside a pass).
struct PassContext {
  host::StudyHost& sc;
  const DrawSettings& settings;
  std::vector<int>& drawnLines;
  const payload::LevelsSnapshot* exposureSource = nullptr;
  const payload::LevelsSnapshot* touchSource = nullptr;
};

// One horizontal line across the chart.
struct LevelLine {
  int lineNumber = 0;
  double price = 0;
  host::Rgb colour;
  int width = 1;
  int style = 0;  // 0 solid, 1 dashed, 2 dotted
  std::string_view label;
  bool labelOn = false;
  bool valueInPriceScale = false;
};

// The label with the exposure and touch suffixes the pass's sources give for `price`.
std::string LevelLabelText(const PassContext& pass, std::string_view label, double price);

// "  P(touch) 42%" from the first density level within 0.01 of `price`; empty when none.
std::string TouchSuffix(const payload::LevelsSnapshot& snapshot, double price);

// Submits the line (replacing one with the same number) and records its number; a line with
// label off carries no text at all.
void DrawLevelLine(PassContext& pass, const LevelLine& line);

// Submits a filled rectangle from `low` to `high` over the visible bars and records its number.
void DrawBand(PassContext& pass, int lineNumber, double low, double high, host::Rgb colour, int transparency);

// The user's colour of `subgraph` for this pass.
host::Rgb SubgraphColour(const PassContext& pass, int subgraph);

// An overlay line: width 1, label on from "Label lines on the chart", no price-scale value,
// in the colour of `subgraph`.
void DrawOverlayLine(PassContext& pass, int lineNumber, double price, int subgraph, int style,
                     std::string_view label);

// DrawOverlayLine when `level` is present; returns whether it drew.
bool DrawOverlayLineIfPresent(PassContext& pass, int lineNumber, const payload::OptionalLevel& level,
                              int subgraph, int style, std::string_view label);

// `value` truncated toward zero, held inside the int range; NaN gives 0.
int TruncateToInt(double value);

}  // namespace draw
