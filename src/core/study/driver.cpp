#include "study/driver.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "draw/drawing_pass.h"
#include "palette/subgraphs.h"
#include "panel/panel_click.h"
#include "panel/panel_pass.h"
#include "panel/text_format.h"
#include "research/research_panel.h"
#include "research/research_session.h"
#include "study/call_inputs.h"
#include "study/fetch_cycle.h"
#include "study/instance_state.h"
#include "study/scale_guard.h"
#include "study/settings_signature.h"
#include "study/symbol_resolution.h"
#include "text/format.h"

namespace study {
namespace {

InstanceState* StateOf(host::StudyHost& sc) {
  return static_cast<InstanceState*>(sc.PersistentPointer(kStatePointerSlot));
}

// Removal: the study's drawings go first, then the state.
void RemoveInstance(host::StudyHost& sc) {
  InstanceState* state = StateOf(sc);
  if (!state) return;
  sc.DeleteDrawing(sc.ChartNumber(), host::kDeleteAll, 0);
  delete state;
  sc.SetPersistentPointer(kStatePointerSlot, nullptr);
}

// A new instance takes its panel view from the saved state text once.
InstanceState& GetOrCreateState(host::StudyHost& sc, const InputValues& values) {
  if (InstanceState* state = StateOf(sc)) return *state;
  auto* state = new InstanceState;
  state->statusLine = "Starting up...";
  sc.SetPersistentPointer(kStatePointerSlot, state);
  panel::ReadPanelStateText(values.texts[kPanelState], &state->panel);
  return *state;
}

// A press that changed the panel is saved at once: the view text, and the anchor when the title
// moved the panel. The call goes on with the saved values.
void ApplyPanelPress(host::StudyHost& sc, InstanceState& state, const host::PointerEvent& pointer,
                     InputValues* values) {
  const panel::PanelClickOutcome outcome =
      panel::HandlePanelClick(PanelSettingsOf(*values), pointer, &state.panel);
  if (!outcome.changed) return;
  if (outcome.anchor != values->ints[kPanelAnchor]) {
    sc.SetStudyInputInt(sc.ChartNumber(), sc.StudyId(), kPanelAnchor, outcome.anchor);
    values->ints[kPanelAnchor] = outcome.anchor;
  }
  values->texts[kPanelState] = panel::FormatPanelState(state.panel);
  sc.SetStudyInputText(sc.ChartNumber(), sc.StudyId(), kPanelState, values->texts[kPanelState]);
  state.redraw = true;
}

void ResetLevels(InstanceState& state) {
  payload::ResetSnapshot(&state.snapshot);
  state.nextLevelsFetch = 0;
  state.redraw = true;
}

// A new underlying drops the map and fetches at once.
void ApplyApiSymbol(InstanceState& state, const std::string& apiSymbol) {
  if (apiSymbol == state.apiSymbol) return;
  state.apiSymbol = apiSymbol;
  ResetLevels(state);
}

// So does a new request identity; a new levels origin is asked at once but keeps the map on
// screen until it answers.
void ApplyFetchKey(InstanceState& state, const std::string& fetchKey, const CallInputs& in) {
  if (fetchKey != state.fetchKey) {
    state.fetchKey = fetchKey;
    ResetLevels(state);
    state.errorLine.clear();
  }
  if (in.levelsOrigin != state.levelsOrigin) {
    state.levelsOrigin = in.levelsOrigin;
    state.nextLevelsFetch = 0;
  }
}

// Research: identity, completion of the pending request, kick-off on a changed request
// value. The worker runs beside the call; nothing here waits for it.
void RunResearchSteps(host::StudyHost& sc, platform::Services& services, InstanceState& state,
                      const CallInputs& in) {
  const std::string& researchDay = in.research.researchDay;
  const std::string source = research::EsOptionsSourceText(in.esSourceIndex);
  const std::string expectedSource = ResearchSourceForSymbol(state.apiSymbol, source);
  research::ResearchSession& session = state.research;
  bool changed =
      research::UpdateResearchKey(&session, research::ResearchKey(state.apiSymbol, source, researchDay));
  changed |= research::PollResearchRequest(&session, state.apiSymbol, expectedSource, researchDay);
  changed |= research::KickOffResearchRequest(&session, services, in.researchRequest, in.levelsOrigin,
                                              state.apiSymbol, source, researchDay);
  if (changed) state.redraw = true;
}

void ApplySettingsSignature(const InputValues& values, InstanceState& state) {
  const uint32_t signature = SettingsSignature(values);
  if (state.initialised && signature != state.settingsSignature) {
    state.redraw = true;
    state.snapshot.lockedRefreshAfterUnix = 0;
  }
  state.settingsSignature = signature;
  state.initialised = true;
}

// Validity gates, then the request phase; a selection other than legacy never falls back to
// an older map while an error stands.
void RunRequestGates(host::StudyHost& sc, InstanceState& state, const CallInputs& in, double now) {
  if (!in.selection.valid) {
    payload::ResetSnapshot(&state.snapshot);
    state.errorLine = in.selection.error;
    state.statusLine = "Selected expirations unavailable.";
    state.redraw = true;
  } else if (state.apiSymbol.empty()) {
    state.statusLine = "Symbol not recognised - pick NQ / ES / QQQ / SPY in the Inputs.";
  } else {
    RunRequestPhase(sc, state, in, now);
  }
  if (in.selection.mode != calendar::kExpiryLegacy && !state.errorLine.empty()) {
    payload::ResetSnapshot(&state.snapshot);
    state.redraw = true;
    state.statusLine = "Selected expirations unavailable (no legacy fallback).";
  }
}

double ChartPrice(const host::StudyHost& sc) {
  const int bars = sc.BarCount();
  return bars > 0 ? sc.BarClose(bars - 1) : 0;
}

void ApplyScaleGuard(host::StudyHost& sc, InstanceState& state, const CallInputs& in) {
  const bool wasTripped = state.scaleGuardTripped;
  const std::string wasMessage = state.scaleGuardMessage;
  const bool ownUnderlying = ResolveApiSymbol(sc.ChartSymbol()) == state.apiSymbol;
  const ScaleGuardResult guard =
      CheckScaleGuard(state.snapshot, ChartPrice(sc), in.scaleGuardLimit, ownUnderlying,
                      [&sc](double price) { return panel::FormatPriceText(sc, price); });
  state.scaleGuardTripped = guard.tripped;
  state.scaleGuardMessage = guard.message;
  if (guard.tripped == wasTripped && guard.message == wasMessage) return;
  state.redraw = true;
  if (guard.tripped) {
    sc.LogMessage(text::Format("Ordinel: %s Nothing drawn. Check the 'Requested symbol' input matches "
                               "this chart.",
                               guard.message),
                  true);
  }
}

void LogErrorLineOnce(host::StudyHost& sc, InstanceState& state) {
  if (state.errorLine.empty()) {
    state.lastLoggedError.clear();
    return;
  }
  if (state.errorLine == state.lastLoggedError) return;
  sc.LogMessage("Ordinel: " + state.errorLine, true);
  state.lastLoggedError = state.errorLine;
  state.redraw = true;
}

float LevelValue(const payload::OptionalLevel& level, bool drawable) {
  return drawable && level.has ? static_cast<float>(level.value) : 0.0f;
}

void WriteSubgraphValues(host::StudyHost& sc, const InstanceState& state) {
  const int bars = sc.BarCount();
  if (bars <= 0) return;
  const payload::LevelsSnapshot& s = state.snapshot;
  const bool drawable = s.valid && !state.scaleGuardTripped;
  const int last = bars - 1;
  const payload::OptionalLevel* levels[] = {&s.callWall, &s.putWall,    &s.gammaFlip, &s.volTrigger,
                                            &s.maxPain,  &s.callOiWall, &s.putOiWall, &s.zeroDex};
  for (int n = 0; n < 8; ++n) sc.SetSubgraphValue(n, last, LevelValue(*levels[n], drawable));
  for (int i = 0; i < payload::kFocusCount; ++i) {
    const payload::FocusLevel& f = s.focus[i];
    sc.SetSubgraphValue(palette::kSgFocus1 + i, last, LevelValue({f.valid, f.value}, drawable));
  }
  sc.SetSubgraphValue(palette::kSgSpot, last, LevelValue(s.spot, drawable));
}

void RedrawWhenDue(host::StudyHost& sc, InstanceState& state, const CallInputs& in) {
  const host::BarRange visible = sc.VisibleBars();
  if (visible.first == state.drawnFirstBar && visible.last == state.drawnLastBar && !state.redraw) return;
  state.drawnFirstBar = visible.first;
  state.drawnLastBar = visible.last;
  state.redraw = false;
  panel::PanelContext context;
  context.snapshot = &state.snapshot;
  context.scaleGuardTripped = state.scaleGuardTripped;
  context.apiSymbol = state.apiSymbol;
  context.statusLine = state.statusLine;
  context.errorLine = state.errorLine;
  context.scaleGuardMessage = state.scaleGuardMessage;
  context.vixLevel = state.vixLevel;
  context.qqqRealizedVol = state.qqqRealizedVol;
  const std::vector<std::string> researchLines =
      research::ResearchPanelLines(state.research.view, in.research);
  context.researchLines = &researchLines;
  const draw::PanelGates gates{state.panel.simple, state.panel.linesHidden, state.panel.zonesHidden};
  draw::RunDrawingPass(
      sc, in.draw, state.snapshot, state.scaleGuardTripped, gates,
      [&](std::vector<int>& drawnLines) {
        panel::RunPanelPass(sc, in.panel, context, &state.panel, drawnLines);
      },
      &state.drawnLines);
}

}  // namespace

void NoteFailedCall(host::StudyHost& sc) noexcept {
  try {
    InstanceState* state = StateOf(sc);
    if (state == nullptr) return;
    state->redraw = true;
    if (state->statusLine == kOutOfMemoryStatus) return;
    state->statusLine = kOutOfMemoryStatus;
    sc.LogMessage(std::string("Ordinel: ") + kOutOfMemoryStatus, true);
  } catch (...) {
    // Nothing more can be done without memory; the next call tries again.
  }
}

void RunDriver(host::StudyHost& sc, platform::Services& services) {
  if (sc.IsRemovalCall()) {
    RemoveInstance(sc);
    return;
  }
  InputValues values = ReadInputValues(sc);
  InstanceState& state = GetOrCreateState(sc, values);
  const host::PointerEvent pointer = sc.Pointer();
  if (pointer.code == host::kPointerOther || pointer.code == host::kPointerOtherLast) return;
  if (pointer.code == host::kPointerPress) ApplyPanelPress(sc, state, pointer, &values);

  const double now = std::floor(sc.Now());
  const CallInputs in = BuildCallInputs(values, calendar::NewYorkToday(services, now));
  ApplyApiSymbol(state, ApiSymbolFromRequest(in.requestedSymbolIndex, sc.ChartSymbol()));
  ApplySettingsSignature(values, state);
  ApplyFetchKey(state, FetchKey(state.apiSymbol, in), in);
  RunResearchSteps(sc, services, state, in);

  RunRequestGates(sc, state, in, now);
  ApplyScaleGuard(sc, state, in);
  LogErrorLineOnce(sc, state);
  WriteSubgraphValues(sc, state);
  RedrawWhenDue(sc, state, in);
}

}  // namespace study
