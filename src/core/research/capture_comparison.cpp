#include "research/capture_comparison.h"

#include <cmath>

namespace research {
namespace {

// Slack on top of half a tick so that a move of exactly half a tick stays noise.
constexpr double kMoveEpsilon = 1e-8;

bool PositiveRatio(const std::optional<double>& ratio) {
  return ratio && std::isfinite(*ratio) && *ratio > 0;
}

}  // namespace

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
                                      const PositioningCapture& earlier, const PositioningCapture& later) {
  if (!earlierLevel || !laterLevel || !PositiveRatio(earlier.conversion_ratio) ||
      !PositiveRatio(later.conversion_ratio)) {
    return std::nullopt;
  }
  const double laterRatio = *later.conversion_ratio;
  const double move = (*laterLevel / laterRatio - *earlierLevel / *earlier.conversion_ratio) * laterRatio;
  if (std::fabs(move) <= later.tick_size * 0.5 + kMoveEpsilon) return 0.0;
  return move;
}

}  // namespace research
