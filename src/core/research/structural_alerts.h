// Alerts when the dealer-positioning structure changes between two successive live captures
// of the same provenance: regime, net GEX sign, or a wall or the gamma flip moving.
#pragma once

#include <string>

#include "research/capture_comparison.h"
#include "research/research_view.h"

namespace research {

inline constexpr int kMinAlertCooldownSeconds = 30;

// The cooldown in force for the input value: never below 30 seconds.
int EffectiveCooldownSeconds(int cooldownInput);

// The alert text for the move from `prev` to `c` ("NQ / QQQ / 2025-01-17: regime change, call
// wall migration"), or empty when the captures are not comparable (`comparable` false, other
// provenance, `c` not newer or from the same source snapshot) or every kind that fired is still
// cooling down for this symbol, source and session date. Records the firing time of each kept
// kind in view->alert_times and the text in view->last_alert.
std::string EvaluateStructuralAlerts(ResearchView* view, const PositioningCapture& prev,
                                     const PositioningCapture& c, bool comparable, const std::string& symbol,
                                     int cooldownSeconds, double nowMs);

}  // namespace research
