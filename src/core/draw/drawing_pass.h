// The drawing pass: every chart layer in its fixed order, then the panel, then the removal of
// the drawings the previous pass made and this one did not.
#pragma once

#include <functional>
#include <vector>

#include "draw/draw_settings.h"
#include "host/study_host.h"
#include "payload/levels_snapshot.h"

namespace draw {

// The line numbers of the study's drawings: those the last finished pass made, and those the
// running pass has submitted so far (left behind when a pass was cut short).
struct DrawnLines {
  std::vector<int> previous;
  std::vector<int> current;
};

// The panel view switches that also decide what the chart shows.
struct PanelGates {
  bool simple = false;
  bool linesHidden = false;
  bool zonesHidden = false;
};

// Draws the chart layers `settings` switch on (when the snapshot is valid, the scale guard has
// not tripped and linesHidden is off), then calls `panelPass` when the panel is shown (the panel
// appends its line numbers to drawnLines), then deletes every drawing of an earlier pass that
// was not drawn again, those of a pass that was cut short included.
void RunDrawingPass(host::StudyHost& sc, const DrawSettings& settings,
                    const payload::LevelsSnapshot& snapshot, bool scaleGuardTripped, const PanelGates& gates,
                    const std::function<void(std::vector<int>& drawnLines)>& panelPass, DrawnLines* lines);

}  // namespace draw
