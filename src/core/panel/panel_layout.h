// Draws the panel: background, title, control and tab rows, the selected lines, and the hit
// rectangles that make the title, buttons and group headers clickable.
#pragma once

#include <string>
#include <vector>

#include "host/study_host.h"
#include "panel/panel_geometry.h"
#include "panel/panel_line.h"
#include "panel/panel_state.h"

namespace panel {

// Renders `lines` for the current view of *state (or only the "show panel" label when hidden),
// rebuilding state->hitRects, and appends every line number it submits to drawnLines.
void RenderPanel(host::StudyHost& sc, PanelState* state, const std::string& apiSymbol,
                 const std::vector<PanelLine>& lines, const RenderSettings& settings,
                 std::vector<int>& drawnLines);

// Submits one text drawing at `bar` and a height in percent of the region, centred vertically,
// ending at the bar when right-aligned and starting there otherwise.
void DrawPanelText(host::StudyHost& sc, int lineNumber, int bar, double heightPercent,
                   const std::string& text, host::Rgb colour, int fontSize, bool bold, bool rightAligned,
                   std::vector<int>& drawnLines);

// Draws `buttons` side by side at `heightPercent` from the geometry's first bar (or ending at its
// last bar on the right side), filling in each widthBars, and registers their hit rectangles
// when the geometry is clickable.
void DrawButtonRow(host::StudyHost& sc, PanelState* state, std::vector<PanelButton>& buttons,
                   int firstLineNumber, double heightPercent, const PanelGeometry& geometry,
                   std::vector<int>& drawnLines);

// Appends a hit rectangle; an empty one (right <= left or bottom <= top) is not added.
void AddHitRect(PanelState* state, int left, int top, int right, int bottom, std::string token,
                std::string value);

}  // namespace panel
