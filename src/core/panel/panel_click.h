// A pointer press on the panel: which rectangle of the last render it hit and what that does.
#pragma once

#include "host/study_host.h"
#include "panel/panel_settings.h"
#include "panel/panel_state.h"

namespace panel {

// The rectangle containing (x, y), searching from the last added (it lies on top); null when
// none does.
const PanelHitRect* FindHitRect(const PanelState& state, int x, int y);

// What a press changed: the view in *state (to be saved) and the "Panel anchor" choice.
struct PanelClickOutcome {
  bool changed = false;
  int anchor = 0;
};

// For a press (pointer code kPointerPress) on a shown panel: applies the token of the hit
// rectangle to *state. `changed` is false, and nothing is changed, for a miss, an unknown token,
// another pointer code or a hidden panel; `anchor` is then settings.render.anchorIndex.
PanelClickOutcome HandlePanelClick(const PanelSettings& settings, const host::PointerEvent& pointer,
                                   PanelState* state);

}  // namespace panel
