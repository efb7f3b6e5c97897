// The panel's content: every section in its fixed order, with the tab and fold group of each,
// built from the instance's snapshot and status texts once per redraw.
#pragma once

#include <string>
#include <vector>

#include "host/study_host.h"
#include "palette/subgraphs.h"
#include "panel/panel_line.h"
#include "payload/levels_snapshot.h"

namespace panel {

// At most this many content lines; research lines come after and are not counted.
inline constexpr size_t kMaxContentLines = 64;

// What the panel shows besides the user's settings.
struct PanelContext {
  const payload::LevelsSnapshot* snapshot = nullptr;  // null reads as no snapshot yet
  bool scaleGuardTripped = false;
  std::string apiSymbol, statusLine, errorLine, scaleGuardMessage;
  payload::OptionalLevel vixLevel, qqqRealizedVol;
  const std::vector<std::string>* researchLines = nullptr;  // research panel lines, may be null
};

// The switches of BuildPanelContent, from the inputs "Panel detail" (Full), the fear score,
// "Net premium drift in panel" and "Forecast P(touch) + hedging (needs extended)", and the
// user's colours of the "Panel text" and "Panel warning" subgraphs.
struct ContentOptions {
  bool fullDetail = true;
  bool fear = true;
  bool drift = false;
  bool forecast = true;
  host::Rgb textColour = palette::kSubgraphTable[palette::kSgPanelText].colour;
  host::Rgb warningColour = palette::kSubgraphTable[palette::kSgPanelWarning].colour;
};

// Replaces *lines with the content: title (never shown), status, error and scale-guard lines,
// then for a valid snapshot spot, levels, zones, context, fear and top strikes, notes and the
// closing disclaimer; cut to its first 64 lines.
void BuildPanelContent(const host::StudyHost& sc, const PanelContext& context, const ContentOptions& options,
                       std::vector<PanelLine>* lines);

}  // namespace panel
