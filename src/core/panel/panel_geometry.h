// Where the panel goes and how large it is: anchor corner, horizontal span in bars, usable
// pixel height, effective line spacing, wrap columns and the line budget.
#pragma once

#include "host/study_host.h"

namespace panel {

// The panel inputs of one render, as the user set them (clamped by ComputePanelGeometry).
struct RenderSettings {
  int anchorIndex = 0;  // 0 Top left, 1 Top right, 2 Bottom left, 3 Bottom right
  int fontSize = 9;
  double lineSpacing = 2.4;  // percent of the region height
  int opacity = 85;          // percent, 100 = solid
  int widthBars = 55;
  int wrapColumns = 64;
  bool wrap = true;
};

struct PanelGeometry {
  int firstBar = 0;
  int lastBar = 0;
  int anchorBar = 0;  // lastBar on the right side, firstBar on the left
  bool rightSide = false;
  bool bottom = false;
  int regionBottom = 0;  // pixel row of the region's bottom edge
  int regionHeight = 0;  // pixels; 0 when the region is too small to click on
  int fontSize = 9;
  double spacing = 2.4;  // effective, percent of the region height
  int wrapColumns = 64;
};

// The geometry of one render; settings out of range are clamped, a non-finite spacing reads
// as 2.4, and a region of 20 pixels or less in either direction gives regionHeight 0.
PanelGeometry ComputePanelGeometry(const host::StudyHost& sc, const RenderSettings& settings);

// True when hit rectangles can be registered in this render.
inline bool Clickable(const PanelGeometry& g) { return g.regionHeight > 0; }

// Pixel row of a height in percent measured upwards from the region's bottom edge.
int PixelRow(const PanelGeometry& g, double heightPercent);

// How many content lines fit beside `headerRows` header rows: at most 55 rows in all.
int LineBudget(double spacing, int headerRows);

// Clamps a wide integer into int range.
int ClampToInt(long long value);

}  // namespace panel
