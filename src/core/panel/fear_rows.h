// The Fear tab's rows: the composite stress score of flip stress, QQQ five-day realised
// volatility and VIX, each ranked against twelve years of sessions.
#pragma once

#include <vector>

#include "panel/panel_line.h"
#include "payload/levels_snapshot.h"

namespace panel {

// Appends the score, verdict, input and partial-read rows; with fewer than two inputs only the
// VIX partial-read row (when VIX is known) or the warming-up row.
void AddFearRows(const payload::LevelsSnapshot& snapshot, const payload::OptionalLevel& vixLevel,
                 const payload::OptionalLevel& qqqRealizedVol, std::vector<PanelLine>* lines);

}  // namespace panel
