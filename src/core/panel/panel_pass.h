// The panel pass of a redraw: builds the content, appends the research lines, applies the
// workflow preset's tab for this render only, and renders the panel.
#pragma once

#include <vector>

#include "host/study_host.h"
#include "panel/panel_content.h"
#include "panel/panel_settings.h"
#include "panel/panel_state.h"

namespace panel {

// The tab a workflow preset shows (1 for Execution, 2 for Positioning and Research), or
// `savedTab` for Advanced and any index outside the list.
int PresetTab(int presetIndex, int savedTab);

// Draws the panel when `settings.show` is on, appending its line numbers to drawnLines; the
// saved tab in *state is the same afterwards.
void RunPanelPass(host::StudyHost& sc, const PanelSettings& settings, const PanelContext& context,
                  PanelState* state, std::vector<int>& drawnLines);

}  // namespace panel
