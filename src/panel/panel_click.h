// A pointer press on the panel: which rectangle of the last render it hit and what that does.
#pragma once

#include "host/study_host.h"
#include "panel/panel_state.h"

namespace panel {

// The rectangle containing (x, y), searching from the last added (it lies on top); null when
// none does.
const PanelHitRect* FindHitRect(const PanelState& state, int x, int y);

// For a press (pointer code 1) with "Show info panel" on: applies the token of the hit rectangle,
// stores a changed "Panel anchor" and the state text. True when the view changed and the panel
// must be redrawn; a miss or an unknown token changes and saves nothing.
bool HandlePanelClick(host::StudyHost& sc, PanelState* state);

}  // namespace panel
