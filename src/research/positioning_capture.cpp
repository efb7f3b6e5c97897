#include "research/positioning_capture.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "research/research_text.h"

namespace research {
namespace {

// Slack on top of half a tick so that a move of exactly half a tick stays noise.
constexpr double kMoveEpsilon = 1e-8;

bool PositiveRatio(const std::optional<double>& ratio) {
  return ratio && std::isfinite(*ratio) && *ratio > 0;
}

}  // namespace

PositioningCapture ParsePositioningCapture(const json::Value* object) {
  PositioningCapture c;
  if (object == nullptr || object->kind != json::kObject) return c;
  c.session_date = MemberFieldText(object, "session_date");
  c.source = MemberFieldText(object, "source");
  c.engine = MemberFieldText(object, "engine");
  c.conversion_method = MemberFieldText(object, "conversion_method");
  c.scope = MemberFieldText(object, "scope");
  c.selected_expiration = MemberFieldText(object, "selected_expiration");
  c.source_snapshot_time = MemberFieldText(object, "source_snapshot_time");
  c.regime = MemberFieldText(object, "regime");
  c.ts = TimestampToEpochMs(json::Member(*object, "ts"));
  c.conversion_ratio = MemberOptional(object, "conversion_ratio");
  c.call_wall = MemberOptional(object, "call_wall");
  c.put_wall = MemberOptional(object, "put_wall");
  c.gamma_flip = MemberOptional(object, "gamma_flip");
  c.net_gex = MemberOptional(object, "net_gex");
  return c;
}

bool SameProvenance(const PositioningCapture& a, const PositioningCapture& b) {
  const std::string PositioningCapture::*const kIdentity[] = {
      &PositioningCapture::session_date, &PositioningCapture::source, &PositioningCapture::engine,
      &PositioningCapture::conversion_method, &PositioningCapture::scope};
  for (const auto field : kIdentity) {
    if ((a.*field).empty() || a.*field != b.*field) return false;
  }
  return a.selected_expiration == b.selected_expiration && !a.source_snapshot_time.empty() &&
         !b.source_snapshot_time.empty() && PositiveRatio(a.conversion_ratio) &&
         PositiveRatio(b.conversion_ratio);
}

std::optional<double> PositioningMove(const std::optional<double>& earlierLevel,
                                      const std::optional<double>& laterLevel,
                                      const PositioningCapture& earlier,
                                      const PositioningCapture& later) {
  if (!earlierLevel || !laterLevel || !PositiveRatio(earlier.conversion_ratio) ||
      !PositiveRatio(later.conversion_ratio)) {
    return std::nullopt;
  }
  const double laterRatio = *later.conversion_ratio;
  const double move =
      (*laterLevel / laterRatio - *earlierLevel / *earlier.conversion_ratio) * laterRatio;
  if (std::fabs(move) <= later.tick_size * 0.5 + kMoveEpsilon) return 0.0;
  return move;
}

}  // namespace research
