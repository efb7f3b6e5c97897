#include "research/structural_alerts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace research {
namespace {

// A migration below this many chart points is rounding, not a move.
constexpr double kMigrationEpsilon = 1e-8;

int Sign(double value) { return (value > 0) - (value < 0); }

bool Migrated(const std::optional<double>& prevLevel, const std::optional<double>& level,
              const PositioningCapture& prev, const PositioningCapture& c) {
  const std::optional<double> move = PositioningMove(prevLevel, level, prev, c);
  return move && std::fabs(*move) > kMigrationEpsilon;
}

// The kinds that fired, in the order they are listed in the alert text.
std::vector<const char*> FiredKinds(const PositioningCapture& prev, const PositioningCapture& c) {
  std::vector<const char*> kinds;
  if (!prev.regime.empty() && !c.regime.empty() && prev.regime != c.regime) {
    kinds.push_back("regime change");
  }
  if (prev.net_gex && c.net_gex && Sign(*prev.net_gex) != Sign(*c.net_gex)) {
    kinds.push_back("net GEX sign change");
  }
  if (Migrated(prev.call_wall, c.call_wall, prev, c)) kinds.push_back("call wall migration");
  if (Migrated(prev.put_wall, c.put_wall, prev, c)) kinds.push_back("put wall migration");
  if (Migrated(prev.gamma_flip, c.gamma_flip, prev, c)) kinds.push_back("gamma flip migration");
  return kinds;
}

bool NewObservation(const PositioningCapture& prev, const PositioningCapture& c) {
  return SameProvenance(c, prev) && c.ts > prev.ts && c.source_snapshot_time != prev.source_snapshot_time;
}

}  // namespace

int EffectiveCooldownSeconds(int cooldownInput) { return std::max(kMinAlertCooldownSeconds, cooldownInput); }

std::string EvaluateStructuralAlerts(ResearchView* view, const PositioningCapture& prev,
                                     const PositioningCapture& c, bool comparable, const std::string& symbol,
                                     int cooldownSeconds, double nowMs) {
  if (!comparable || !NewObservation(prev, c)) return {};
  const double cooldownMs = EffectiveCooldownSeconds(cooldownSeconds) * 1000.0;
  const std::string keyPrefix = symbol + "|" + c.source + "|" + c.session_date + "|";
  std::string kept;
  for (const char* kind : FiredKinds(prev, c)) {
    const std::string key = keyPrefix + kind;
    const auto last = view->alert_times.find(key);
    if (last != view->alert_times.end() && nowMs - last->second < cooldownMs) continue;
    view->alert_times[key] = nowMs;
    if (!kept.empty()) kept += ", ";
    kept += kind;
  }
  if (kept.empty()) return {};
  view->last_alert = symbol + " / " + c.source + " / " + c.session_date + ": " + kept;
  return view->last_alert;
}

}  // namespace research
