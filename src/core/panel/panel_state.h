// The panel's view state (tab, folding, hiding, simple mode, chart switches), the clickable
// rectangles of the last render, and the short text that keeps the state across reloads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace panel {

// Chart-window pixels, y growing downwards, all four edges inclusive.
struct PanelHitRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  std::string token;
  std::string value;

  friend bool operator==(const PanelHitRect&, const PanelHitRect&) = default;
};

// One button of a row; `widthBars` is filled in by DrawButtonRow.
struct PanelButton {
  std::string label;
  std::string token;
  std::string value;
  bool active = false;
  int widthBars = 0;
};

struct PanelState {
  int tab = 1;  // 1 Levels, 2 Context, 3 Strikes, 4 Fear
  bool folded = false;
  bool hidden = false;
  bool simple = false;       // also leaves the overlays off the chart
  bool linesHidden = false;  // also leaves every chart layer off
  bool zonesHidden = false;  // also leaves the overlays off the chart
  bool coreFolded = false;
  bool zonesFolded = false;
  std::vector<PanelHitRect> hitRects;  // rebuilt by every render, in the order added
};

// The state text "t%dc%dh%ds%dl%dz%dC%dZ%d"; the default state gives "t1c0h0s0l0z0C0Z0".
std::string FormatPanelState(const PanelState& state);

// Reads a state text as letter/value pairs into *state; unknown letters, tab values other than
// "1".."4" and a trailing lone letter change nothing.
void ReadPanelStateText(std::string_view text, PanelState* state);

// Applies one button token; false (and nothing changed) for an unknown token. "corner" moves
// *anchorIndex to the next corner (Top left, Top right, Bottom left, Bottom right, Top left...).
bool ApplyPanelToken(PanelState* state, std::string_view token, std::string_view value, int* anchorIndex);

}  // namespace panel
