// What the user chose for the info panel, handed to the panel by the study's input reader; the
// panel never reads inputs itself. Defaults are the declared ones.
#pragma once

#include <string>

#include "panel/panel_content.h"
#include "panel/panel_geometry.h"

namespace panel {

struct PanelSettings {
  bool show = true;        // "Show info panel"
  int workflowPreset = 0;  // index of "Advanced;Execution;Positioning;Research"
  RenderSettings render;
  ContentOptions content;
};

}  // namespace panel
