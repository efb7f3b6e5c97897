#include "panel/panel_pass.h"

#include "panel/panel_layout.h"
#include "study/study_inputs.h"

namespace panel {
namespace {

constexpr int kPresetExecution = 1;
constexpr int kPresetPositioning = 2;
constexpr int kPresetResearch = 3;
constexpr int kDetailFull = 1;

void AppendResearchLines(const std::vector<std::string>* research, std::vector<PanelLine>* lines) {
  if (research == nullptr) return;
  for (const std::string& text : *research) {
    PanelLine line = MakeLine(text, kSecondaryColour);
    line.tab = kTabContext;
    lines->push_back(std::move(line));
  }
}

}  // namespace

RenderSettings ReadRenderSettings(const host::StudyHost& sc) {
  RenderSettings settings;
  settings.anchorIndex = sc.ReadInputInt(study::kPanelAnchor);
  settings.fontSize = sc.ReadInputInt(study::kPanelFontSize);
  settings.lineSpacing = sc.ReadInputFloat(study::kPanelLineSpacing);
  settings.opacity = sc.ReadInputInt(study::kPanelOpacity);
  settings.widthBars = sc.ReadInputInt(study::kPanelWidthBars);
  settings.wrapColumns = sc.ReadInputInt(study::kPanelWrapColumns);
  settings.wrap = sc.ReadInputInt(study::kWrapPanelText) != 0;
  return settings;
}

ContentOptions ReadContentOptions(const host::StudyHost& sc) {
  ContentOptions options;
  options.fullDetail = sc.ReadInputInt(study::kPanelDetail) == kDetailFull;
  options.fear = sc.ReadInputInt(study::kFearScore) != 0;
  options.drift = sc.ReadInputInt(study::kPremiumDrift) != 0;
  options.forecast = sc.ReadInputInt(study::kForecastTouch) != 0;
  return options;
}

int PresetTab(int presetIndex, int savedTab) {
  if (presetIndex == kPresetExecution) return kTabLevels;
  if (presetIndex == kPresetPositioning || presetIndex == kPresetResearch) return kTabContext;
  return savedTab;
}

void RunPanelPass(host::StudyHost& sc, const PanelContext& context, PanelState* state,
                  std::vector<int>& drawnLines) {
  if (sc.ReadInputInt(study::kShowPanel) == 0) return;
  std::vector<PanelLine> lines;
  BuildPanelContent(sc, context, ReadContentOptions(sc), &lines);
  AppendResearchLines(context.researchLines, &lines);

  const int savedTab = state->tab;
  state->tab = PresetTab(sc.ReadInputInt(study::kWorkflowPreset), savedTab);
  RenderPanel(sc, state, context.apiSymbol, lines, ReadRenderSettings(sc), drawnLines);
  state->tab = savedTab;
}

}  // namespace panel
