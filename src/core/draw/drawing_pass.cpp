#include "draw/drawing_pass.h"

#include <algorithm>

#include "draw/chart_layers.h"
#include "palette/subgraphs.h"

namespace draw {
namespace {

constexpr size_t kReservedLines = 96;

// The label sources of one pass; they exist only while it runs.
PassContext StartPass(host::StudyHost& sc, const DrawSettings& settings, const LevelsSnapshot& snapshot,
                      bool drawable, std::vector<int>& drawnLines) {
  PassContext pass{.sc = sc, .settings = settings, .drawnLines = drawnLines};
  if (drawable && settings.exposureMode > 0) pass.exposureSource = &snapshot;
  if (drawable && settings.forecastTouch && snapshot.densityCount >= 1) pass.touchSource = &snapshot;
  return pass;
}

void DrawChartLayers(PassContext& pass, const LevelsSnapshot& s, const PanelGates& gates) {
  // Simple mode and the "zones" switch keep only the core map and the model zero gamma.
  const bool overlays = !gates.simple && !gates.zonesHidden;
  DrawCoreLevels(pass, s);
  DrawZones(pass, s);
  if (overlays) {
    DrawDailyVolZones(pass, s);
    DrawUnstableCorridor(pass, s);
    DrawNdxCompanionLevels(pass, s);
    DrawVanna(pass, s);
    DrawCharm(pass, s);
    DrawForecastBand(pass, s);
  }
  DrawModelZeroGamma(pass, s);
  if (overlays) {
    DrawHeatmaps(pass, s);
    DrawGammaProfile(pass, s);
    DrawIvWalls(pass, s);
    DrawVegaWalls(pass, s);
    DrawHybridWalls(pass, s);
    DrawSessionReferences(pass, s);
    DrawOvernightInventory(pass, s);
    DrawVwapBands(pass, s);
    DrawTradingRanges(pass, s);
    DrawIvBand(pass, s);
    DrawRegimeTint(pass, s);
    DrawWallExtenders(pass, s);
  }
  DrawTopStrikes(pass, s);
}

// A pass that was cut short (an exception) left its submissions in `current`: they count as
// drawn by the previous pass, so this one removes them unless it draws them again.
void StartPassLines(DrawnLines* lines) {
  lines->previous.insert(lines->previous.end(), lines->current.begin(), lines->current.end());
  lines->current.clear();
  lines->current.reserve(kReservedLines);
}

// Deletes in the order the lines were drawn before; a sorted copy keeps the pass linearithmic in
// the hundreds of lines a full map draws.
void RemoveUndrawn(host::StudyHost& sc, DrawnLines* lines) {
  std::vector<int> drawn = lines->current;
  std::sort(drawn.begin(), drawn.end());
  for (int lineNumber : lines->previous) {
    if (!std::binary_search(drawn.begin(), drawn.end(), lineNumber)) {
      sc.DeleteDrawing(sc.ChartNumber(), host::kDeleteLineNumber, lineNumber);
    }
  }
  lines->previous.swap(lines->current);
  lines->current.clear();
}

}  // namespace

void RunDrawingPass(host::StudyHost& sc, const DrawSettings& settings,
                    const payload::LevelsSnapshot& snapshot, bool scaleGuardTripped, const PanelGates& gates,
                    const std::function<void(std::vector<int>& drawnLines)>& panelPass, DrawnLines* lines) {
  StartPassLines(lines);
  const bool drawable = snapshot.valid && !scaleGuardTripped;
  PassContext pass = StartPass(sc, settings, snapshot, drawable, lines->current);
  if (drawable && !gates.linesHidden) DrawChartLayers(pass, snapshot, gates);
  if (settings.showPanel && panelPass) panelPass(lines->current);
  RemoveUndrawn(sc, lines);
}

}  // namespace draw
