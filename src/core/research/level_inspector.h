// The level inspector's view of the live map: what the service served for one exact
// underlying strike in the columnar "strike_greeks" of the last live capture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "research/research_view.h"

namespace research {

// The "Inspector exact UNDERLYING strike" text as a decimal number read like atof in the "C"
// locale; 0 for a blank or non-numeric text.
double ParseInspectorStrike(std::string_view text);

// Appends the served strike Greeks lines for `inspectorStrike` (underlying units): the map and
// source lines and the seven fields of the one served strike within half a chart tick, or the
// reason they are missing (no live capture, no mapping ratio, no or several matching strikes).
void ServedStrikeGreeksLines(const ResearchView& view, std::vector<std::string>* lines,
                             double inspectorStrike);

}  // namespace research
