#include "panel/panel_click.h"

namespace panel {

const PanelHitRect* FindHitRect(const PanelState& state, int x, int y) {
  for (auto it = state.hitRects.rbegin(); it != state.hitRects.rend(); ++it) {
    if (it->left <= x && x <= it->right && it->top <= y && y <= it->bottom) return &*it;
  }
  return nullptr;
}

PanelClickOutcome HandlePanelClick(const PanelSettings& settings, const host::PointerEvent& pointer,
                                   PanelState* state) {
  PanelClickOutcome outcome{false, settings.render.anchorIndex};
  if (!settings.show || pointer.code != host::kPointerPress) return outcome;
  const PanelHitRect* hit = FindHitRect(*state, pointer.x, pointer.y);
  if (hit == nullptr) return outcome;
  outcome.changed = ApplyPanelToken(state, hit->token, hit->value, &outcome.anchor);
  return outcome;
}

}  // namespace panel
