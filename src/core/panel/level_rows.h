// The Levels tab's rows: one row per level with its distance from spot, and the zone rows.
#pragma once

#include <string_view>
#include <vector>

#include "host/study_host.h"
#include "panel/panel_line.h"
#include "payload/levels_snapshot.h"

namespace panel {

// Appends "  %-5s %-12s <distance>  <tail>" (without the distance when spot is absent);
// nothing when the level is absent.
void AddLevelRow(const host::StudyHost& sc, std::vector<PanelLine>* lines, std::string_view shortLabel,
                 const payload::OptionalLevel& level, const payload::OptionalLevel& spot, host::Rgb colour,
                 std::string_view tail);

// Appends the "- Levels -" header and the rows of the levels present; the OI walls and zero DEX
// only with full detail.
void AddLevelsSection(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot, bool fullDetail,
                      std::vector<PanelLine>* lines);

// Appends the "- Zones -" header and the valid zones; nothing when no zone is valid.
void AddZonesSection(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot,
                     std::vector<PanelLine>* lines);

}  // namespace panel
