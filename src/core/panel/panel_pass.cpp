#include "panel/panel_pass.h"

#include "panel/panel_layout.h"

namespace panel {
namespace {

constexpr int kPresetExecution = 1;
constexpr int kPresetPositioning = 2;
constexpr int kPresetResearch = 3;

void AppendResearchLines(const std::vector<std::string>* research, std::vector<PanelLine>* lines) {
  if (research == nullptr) return;
  for (const std::string& text : *research) {
    PanelLine line = MakeLine(text, kSecondaryColour);
    line.tab = kTabContext;
    lines->push_back(std::move(line));
  }
}

}  // namespace

int PresetTab(int presetIndex, int savedTab) {
  if (presetIndex == kPresetExecution) return kTabLevels;
  if (presetIndex == kPresetPositioning || presetIndex == kPresetResearch) return kTabContext;
  return savedTab;
}

void RunPanelPass(host::StudyHost& sc, const PanelSettings& settings, const PanelContext& context,
                  PanelState* state, std::vector<int>& drawnLines) {
  if (!settings.show) return;
  std::vector<PanelLine> lines;
  BuildPanelContent(sc, context, settings.content, &lines);
  AppendResearchLines(context.researchLines, &lines);

  const int savedTab = state->tab;
  state->tab = PresetTab(settings.workflowPreset, savedTab);
  RenderPanel(sc, state, context.apiSymbol, lines, settings.render, drawnLines);
  state->tab = savedTab;
}

}  // namespace panel
