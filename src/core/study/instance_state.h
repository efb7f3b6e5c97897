// Everything one study instance keeps between calls, reached through persistent pointer 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/drawing_pass.h"
#include "json/json_document.h"
#include "panel/panel_state.h"
#include "payload/levels_snapshot.h"
#include "research/research_session.h"

namespace study {

// Steps of the single host HTTP request slot; the numbers appear in log lines.
enum RequestStep : int { kStepNone = 0, kStepLevels = 4, kStepVix = 5, kStepQqq = 6 };

struct RequestSlot {
  int step = kStepNone;
  double timeSent = 0;
  double timeout = 0;
  std::string fetchKey;  // the fetch key when the levels request was sent
};

// Created on the first ordinary call, destroyed on the removal call.
struct InstanceState {
  RequestSlot pending;
  // Each answer of the request slot is parsed here, into buffers kept from one refresh to the
  // next; only the fetch cycle reads it, while it handles that answer.
  json::Document answerDocument;
  // Seconds since 1970; 0 means due now.
  double nextLevelsFetch = 0;
  double nextVixFetch = 0;
  double nextQqqFetch = 0;

  std::string statusLine;
  std::string errorLine;
  std::string lastLoggedError;
  std::string scaleGuardMessage;

  payload::LevelsSnapshot snapshot;  // the last good map, or reset

  std::string apiSymbol;
  std::string fetchKey;
  std::string levelsOrigin;  // origin the levels timer last ran against
  uint32_t settingsSignature = 0;
  bool initialised = false;

  research::ResearchSession research;  // view, pending request, research key, last request value

  payload::OptionalLevel vixLevel;
  payload::OptionalLevel qqqRealizedVol;

  bool redraw = true;
  bool scaleGuardTripped = false;
  int drawnFirstBar = -1;
  int drawnLastBar = -1;
  draw::DrawnLines drawnLines;
  panel::PanelState panel;
};

}  // namespace study
