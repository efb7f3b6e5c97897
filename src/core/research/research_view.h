// What one study instance keeps of research: the accepted research answer, the last live
// capture with the structural-alert state, and the research status line.
#pragma once

#include <map>
#include <string>

#include "payload/live_map.h"
#include "payload/positioning_capture.h"
#include "payload/research_answer.h"

namespace research {

inline constexpr const char* kInitialResearchStatus =
    "Change positive Research request to fetch once (GET, current session).";

// A value-initialised view is the initial state; assign `ResearchView{}` to reset it.
struct ResearchView {
  payload::ResearchAnswer research;  // the accepted research answer (when `captured`)
  payload::LiveMap live;             // the last levels answer recorded as a live capture
  bool captured = false;
  bool has_live = false;
  bool alerts_armed = false;
  payload::PositioningCapture last_live_capture;
  std::string last_live_symbol;
  std::string last_alert;
  double tick_size = 0;                       // never negative
  std::map<std::string, double> alert_times;  // alert key -> last firing, epoch ms
  std::string status = kInitialResearchStatus;
};

}  // namespace research
