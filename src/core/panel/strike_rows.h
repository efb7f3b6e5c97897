// The Strikes tab's rows: the top strikes by absolute gamma exposure with an intensity bar and
// the number of strikes merged into each.
#pragma once

#include <vector>

#include "host/study_host.h"
#include "panel/panel_line.h"
#include "payload/levels_snapshot.h"

namespace panel {

// One row per profile row in stored order (highest price first), at most 5 unless full detail;
// green at or above spot (or without spot), red below.
void AddTopStrikeRows(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot, bool fullDetail,
                      std::vector<PanelLine>* lines);

}  // namespace panel
