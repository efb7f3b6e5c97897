// The drawing pass: every chart layer in its fixed order, then the panel, then the removal of
// the drawings the previous pass made and this one did not.
#pragma once

#include <functional>
#include <vector>

#include "draw/draw_settings.h"
#include "host/study_host.h"
#include "payload/levels_snapshot.h"

namespace draw {

// The panel view switches that also decide what the chart shows.
struct PanelGates {
  bool simple = false;
  bool linesHidden = false;
  bool zonesHidden = false;
};

// Draws the chart layers `settings` switch on (when the snapshot is valid, the scale guard has
// not tripped and linesHidden is off), then calls `panelPass` when the panel is shown (the panel
// appends its line numbers to drawnLines), then deletes every number of *previousLines not
// drawn again and stores drawnLines into *previousLines. A null `previousLines` deletes nothing.
void RunDrawingPass(host::StudyHost& sc, const DrawSettings& settings,
                    const payload::LevelsSnapshot& snapshot, bool scaleGuardTripped,
                    const PanelGates& gates,
                    const std::function<void(std::vector<int>& drawnLines)>& panelPass,
                    std::vector<int>* previousLines);

}  // namespace draw
