// Which content lines a render shows: the current tab, simple mode and folded groups, then
// wrapping and the line budget with its "+N lines hidden" note.
#pragma once

#include <vector>

#include "panel/panel_line.h"
#include "panel/panel_state.h"

namespace panel {

// The lines of the current tab (and of every tab) in list order, without never-shown lines,
// without the zones rows of the Levels tab in simple mode, and without the rows of a folded
// group (its header stays).
std::vector<PanelLine> SelectPanelLines(const std::vector<PanelLine>& lines, const PanelState& state);

// Each line replaced by its wrapped pieces, each piece keeping the line's colour, tab and kind.
std::vector<PanelLine> WrapPanelLines(std::vector<PanelLine> lines, int columns);

// Cuts *lines to `maxLines`: the first maxLines - 1 lines and the note
// "+%d lines hidden; widen/fold/switch tab"; with a budget of 0 nothing stays.
void ApplyLineBudget(std::vector<PanelLine>* lines, int maxLines);

}  // namespace panel
