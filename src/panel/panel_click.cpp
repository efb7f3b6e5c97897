#include "panel/panel_click.h"

#include "study/study_inputs.h"

namespace panel {

const PanelHitRect* FindHitRect(const PanelState& state, int x, int y) {
  for (auto it = state.hitRects.rbegin(); it != state.hitRects.rend(); ++it) {
    if (it->left <= x && x <= it->right && it->top <= y && y <= it->bottom) return &*it;
  }
  return nullptr;
}

bool HandlePanelClick(host::StudyHost& sc, PanelState* state) {
  if (sc.ReadInputInt(study::kShowPanel) == 0) return false;
  const host::PointerEvent pointer = sc.Pointer();
  if (pointer.code != host::kPointerPress) return false;
  const PanelHitRect* hit = FindHitRect(*state, pointer.x, pointer.y);
  if (hit == nullptr) return false;
  const int anchor = sc.ReadInputInt(study::kPanelAnchor);
  int newAnchor = anchor;
  if (!ApplyPanelToken(state, hit->token, hit->value, &newAnchor)) return false;
  if (newAnchor != anchor) {
    sc.SetStudyInputInt(sc.ChartNumber(), sc.StudyId(), study::kPanelAnchor, newAnchor);
  }
  SavePanelState(sc, *state);
  return true;
}

}  // namespace panel
