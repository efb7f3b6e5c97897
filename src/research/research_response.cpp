#include "research/research_response.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "research/research_text.h"
#include "research/structural_alerts.h"

namespace research {
namespace {

bool IdentityMatches(const json::Value& root, const std::string& symbol,
                     const std::string& expectedSource, const std::string& day) {
  return root.kind == json::kObject && json::MemberIsTrue(root, "ok") &&
         MemberFieldText(&root, "symbol") == symbol && MemberFieldText(&root, "day") == day &&
         MemberFieldText(&root, "source") == expectedSource;
}

bool BookMatches(const json::Value& root, const std::string& expectedSource) {
  const std::string bookSymbol = MemberFieldText(json::Member(root, "expiry_book"), "symbol");
  return bookSymbol.empty() || bookSymbol == expectedSource;
}

// `preferred` unless it is empty, then `fallback`.
std::string OrElse(std::string preferred, std::string fallback) {
  return preferred.empty() ? std::move(fallback) : std::move(preferred);
}

}  // namespace

bool AcceptResearchResponse(ResearchView* view, const json::Value& root, const std::string& symbol,
                            const std::string& expectedSource, const std::string& day) {
  if (!IdentityMatches(root, symbol, expectedSource, day)) {
    view->status = kResearchIdentityMismatch;
    return false;
  }
  if (!BookMatches(root, expectedSource)) {
    view->status = kResearchBookMismatch;
    return false;
  }
  view->research = root;
  view->captured = true;
  view->status = kResearchCaptured;
  return true;
}

PositioningCapture LiveCapture(const json::Value& levelsRoot, double tickSize) {
  const json::Value* root = &levelsRoot;
  PositioningCapture c = ParsePositioningCapture(json::Member(levelsRoot, "display_levels"));
  c.session_date =
      OrElse(MemberFieldText(root, "session_date"), MemberFieldText(root, "locked_session"));
  c.source = MemberFieldText(root, "resolved_symbol");
  c.engine = OrElse(std::move(c.engine), MemberFieldText(root, "engine"));
  c.conversion_method = OrElse(MemberFieldText(root, "conversion_method"), c.conversion_method);
  c.scope = OrElse(MemberFieldText(root, "scope"), c.scope);
  c.selected_expiration = MemberFieldText(root, "selected_expiration");
  c.source_snapshot_time = MemberFieldText(root, "source_snapshot_time");
  c.ts = TimestampToEpochMs(json::Member(levelsRoot, "source_snapshot_time"));
  if (const std::optional<double> ratio = MemberOptional(root, "conversion_ratio")) {
    c.conversion_ratio = ratio;
  }
  c.tick_size = tickSize;
  return c;
}

std::string RecordLiveCapture(ResearchView* view, const json::Value& levelsRoot,
                              const std::string& symbol, bool alertsOn, int cooldownSeconds,
                              double tickSize, double nowMs) {
  view->live = levelsRoot;
  view->has_live = true;
  view->tick_size = std::isfinite(tickSize) && tickSize > 0 ? tickSize : 0;
  const PositioningCapture c = LiveCapture(levelsRoot, view->tick_size);
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
