// The one place the study reads its inputs: every input and subgraph colour once per call, and
// the plain records built from them for each consumer (request, chart layers, panel, research).
#pragma once

#include <array>
#include <string>

#include "calendar/expiry_selection.h"
#include "draw/draw_settings.h"
#include "host/study_host.h"
#include "palette/subgraphs.h"
#include "panel/panel_settings.h"
#include "research/research_panel.h"
#include "study/input_table.h"

namespace study {

inline constexpr double kMinRefreshSeconds = 180;

// Every input value of one call by slot, read by its declared kind, and the subgraph colours.
struct InputValues {
  std::array<int, kInputCount> ints{};         // yes/no, integer and choice inputs
  std::array<double, kInputCount> floats{};    // float inputs
  std::array<std::string, kInputCount> texts;  // text inputs
  palette::SubgraphColours colours{};
};

// Reads every input and subgraph colour of the call from the host.
InputValues ReadInputValues(const host::StudyHost& sc);

// The request inputs of one call, and the settings of the other consumers.
struct CallInputs {
  bool verbose = false;
  int requestedSymbolIndex = 0;
  double refreshInterval = kMinRefreshSeconds;  // at least 180 s
  bool lockedMode = true;                       // "Snapshot mode" is "Locked at open"
  bool extended = false;
  std::string basisToken;  // "signed_flow", "settlement_oi" or "estimated_oi"
  int esSourceIndex = 0;   // 1 asks for the SPX-derived ES map
  bool fearScore = true;
  int topStrikesCount = 10;
  bool modelZeroGammaAsFlip = false;
  double scaleGuardLimit = 2;
  bool structuralAlerts = false;
  int alertCooldown = 300;
  std::string levelsOrigin;  // "API base URL", without a trailing '/'
  calendar::ExpirySelection selection;
  int researchRequest = 0;  // "Research request (change positive value to GET once)"

  draw::DrawSettings draw;
  panel::PanelSettings panel;
  research::ResearchPanelInputs research;  // with the research day resolved
};

// The panel's settings alone, which a pointer press needs before anything else.
panel::PanelSettings PanelSettingsOf(const InputValues& values);

// The records of one call; `newYorkToday` feeds the expiry selection and a blank research day.
// A blank "API base URL" falls back to the default levels origin.
CallInputs BuildCallInputs(const InputValues& values, const std::string& newYorkToday);

// "symbol|basis|esSource|locked|extended|expiryKey".
std::string FetchKey(const std::string& apiSymbol, const CallInputs& in);

}  // namespace study
