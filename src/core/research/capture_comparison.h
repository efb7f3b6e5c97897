// Comparing two positioning captures: whether they share a provenance, and how far a level
// moved through the dealers' positioning alone.
#pragma once

#include <optional>

#include "payload/positioning_capture.h"

namespace research {

using payload::PositioningCapture;

// True when `a` names a full provenance (session date, source, engine, conversion method and
// scope, all non-empty) that `b` shares, with the same selected expiration, both source
// snapshot times set and both conversion ratios above 0.
bool SameProvenance(const PositioningCapture& a, const PositioningCapture& b);

// How far a level moved through the dealers' positioning alone, in chart points at the later
// ratio: both levels compared in underlying units. Absent unless both levels are present;
// 0 when within half of `later.tick_size` (+1e-8). Requires: SameProvenance of the captures.
std::optional<double> PositioningMove(const std::optional<double>& earlierLevel,
                                      const std::optional<double>& laterLevel,
                                      const PositioningCapture& earlier, const PositioningCapture& later);

}  // namespace research
