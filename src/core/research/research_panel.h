// The research lines of the info panel: the last structural alert, the research status, the
// positioning change over the session's captures, the expiry book through the expiry lens and
// the level inspector.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "research/capture_comparison.h"
#include "research/research_view.h"

namespace research {

// The research view inputs of one redraw, as the user set them.
struct ResearchPanelInputs {
  bool captureChanges = false;      // "Positioning capture changes"
  bool expiryLens = false;          // "Expiry lens"
  bool levelInspector = false;      // "Level inspector"
  int workflowPreset = 0;           // index of "Advanced;Execution;Positioning;Research"
  int lensIndex = 0;                // index of "Expiry selection"
  std::string inspectorStrikeText;  // "Inspector exact UNDERLYING strike"
  std::string researchDay;          // trimmed input, or New York today when blank
};

// The research lines in panel order; only the structural alert line when every section is off.
std::vector<std::string> BuildResearchPanelLines(const ResearchView& view, bool changesOn, bool lensOn,
                                                 bool inspectorOn, int lensIndex, double inspectorStrike,
                                                 const std::string& researchDay);

// BuildResearchPanelLines with the section switches the inputs and the workflow preset give
// ("Positioning" turns on the changes, "Research" the lens and the inspector).
std::vector<std::string> ResearchPanelLines(const ResearchView& view, const ResearchPanelInputs& inputs);

// "<label> positioning <p> | conversion/basis <b> (chart points)": a level's move from `first`
// to `latest` split into the dealers' positioning (in underlying units, at the latest ratio)
// and the change of the conversion ratio alone.
std::string LevelChangeLine(const char* label, const std::optional<double>& firstLevel,
                            const std::optional<double>& latestLevel, const PositioningCapture& first,
                            const PositioningCapture& latest);

}  // namespace research
