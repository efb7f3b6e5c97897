#include "panel/panel_selection.h"

#include <algorithm>

#include "panel/panel_wrap.h"
#include "text/format.h"

namespace panel {
namespace {

bool InFoldedGroup(const PanelLine& line, const PanelState& state) {
  return (line.group == kGroupCore && state.coreFolded) || (line.group == kGroupZones && state.zonesFolded);
}

bool Shown(const PanelLine& line, const PanelState& state) {
  if (line.kind == kKindNeverShown) return false;
  if (line.tab != kTabAll && line.tab != state.tab) return false;
  if (state.simple && line.tab == kTabLevels && line.group == kGroupZones) return false;
  if (line.kind == kKindGroupHeader) return true;
  return !InFoldedGroup(line, state);
}

}  // namespace

std::vector<PanelLine> SelectPanelLines(const std::vector<PanelLine>& lines, const PanelState& state) {
  std::vector<PanelLine> selected;
  for (const PanelLine& line : lines) {
    if (Shown(line, state)) selected.push_back(line);
  }
  return selected;
}

std::vector<PanelLine> WrapPanelLines(std::vector<PanelLine> lines, int columns) {
  std::vector<PanelLine> wrapped;
  wrapped.reserve(lines.size());
  for (PanelLine& line : lines) {
    // Each piece copies the line's other fields, never the whole text.
    const std::string text = std::move(line.text);
    line.text.clear();
    for (std::string& piece : WrapPanelText(text, columns)) {
      wrapped.push_back(line);
      wrapped.back().text = std::move(piece);
    }
  }
  return wrapped;
}

void ApplyLineBudget(std::vector<PanelLine>* lines, int maxLines) {
  if (maxLines < 0) maxLines = 0;
  if (lines->size() <= static_cast<size_t>(maxLines)) return;
  const size_t kept = static_cast<size_t>(std::max(maxLines - 1, 0));
  const size_t dropped = lines->size() - kept;
  lines->resize(kept);
  if (maxLines > 0) {
    lines->push_back(
        MakeLine(text::Format("+%d lines hidden; widen/fold/switch tab", dropped), kHiddenLinesColour));
  }
}

}  // namespace panel
