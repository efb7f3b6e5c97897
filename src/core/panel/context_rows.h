// The Context tab's rows: gamma/delta regime quadrant, net premium drift, dealer-hedging
// forecast, the unstable corridor warning, and the map and model summaries.
#pragma once

#include <vector>

#include "host/study_host.h"
#include "panel/panel_line.h"
#include "payload/levels_snapshot.h"

namespace panel {

// The regime row (gamma label, and delta label when netDex is present) and its sentence;
// nothing when netGex is absent. Zero counts as long gamma and as "+delta flow".
void AddRegimeRows(const payload::LevelsSnapshot& snapshot, std::vector<PanelLine>* lines);

// Header, drift amount and calls/puts/contracts rows; nothing when netCum is absent.
void AddDriftRows(const payload::LevelsSnapshot& snapshot, std::vector<PanelLine>* lines);

// Header and the charm, vanna and pressure-zone rows that have data; nothing when none of the
// three inputs is there (a header may stand alone when only a direction text is missing).
void AddForecastRows(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot,
                     std::vector<PanelLine>* lines);

// The warning when the vol trigger lies within 0.35 % of spot from the gamma flip.
void AddUnstableZoneRows(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot,
                         std::vector<PanelLine>* lines);

// "  Your map: ..." and "  Own model: ..." for the non-empty summaries.
void AddMapAndModelRows(const payload::LevelsSnapshot& snapshot, std::vector<PanelLine>* lines);

// The whole Context section in order: regime (with its header), drift, forecast, unstable
// zone, map and model.
void AddContextSection(const host::StudyHost& sc, const payload::LevelsSnapshot& snapshot, bool drift,
                       bool forecast, std::vector<PanelLine>* lines);

}  // namespace panel
