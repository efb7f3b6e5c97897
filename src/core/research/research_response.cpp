#include "research/research_response.h"

#include <cmath>
#include <utility>

#include "research/capture_comparison.h"
#include "research/structural_alerts.h"

namespace research {
namespace {

bool IdentityMatches(const payload::ResearchAnswer& answer, const std::string& symbol,
                     const std::string& expectedSource, const std::string& day) {
  return answer.ok && answer.symbol == symbol && answer.day == day && answer.source == expectedSource;
}

bool BookMatches(const payload::ResearchAnswer& answer, const std::string& expectedSource) {
  return answer.book.symbol.empty() || answer.book.symbol == expectedSource;
}

}  // namespace

bool AcceptResearchResponse(ResearchView* view, payload::ResearchAnswer answer, const std::string& symbol,
                            const std::string& expectedSource, const std::string& day) {
  if (!IdentityMatches(answer, symbol, expectedSource, day)) {
    view->status = kResearchIdentityMismatch;
    return false;
  }
  if (!BookMatches(answer, expectedSource)) {
    view->status = kResearchBookMismatch;
    return false;
  }
  view->research = std::move(answer);
  view->captured = true;
  view->status = kResearchCaptured;
  return true;
}

std::string RecordLiveCapture(ResearchView* view, payload::LiveMap live, const std::string& symbol,
                              bool alertsOn, int cooldownSeconds, double tickSize, double nowMs) {
  view->live = std::move(live);
  view->has_live = true;
  view->tick_size = std::isfinite(tickSize) && tickSize > 0 ? tickSize : 0;
  PositioningCapture c = view->live.capture;
  c.tick_size = view->tick_size;
  const PositioningCapture prev = view->last_live_capture;
  const bool comparable = view->alerts_armed && view->last_live_symbol == symbol;
  // A repeated or older snapshot of what alerts already compare against is not recorded.
  if (alertsOn && comparable && SameProvenance(c, prev) && !(c.ts > prev.ts)) return {};

  view->last_live_capture = c;
  view->last_live_symbol = symbol;
  view->alerts_armed = alertsOn;
  if (!alertsOn) {
    view->alert_times.clear();
    view->last_alert.clear();
    return {};
  }
  return EvaluateStructuralAlerts(view, prev, c, comparable, symbol, cooldownSeconds, nowMs);
}

}  // namespace research
