// The scale guard: refuses to draw a map whose spot price disagrees with the chart, except a
// locked-at-open capture of this chart's own underlying that has drifted only moderately.
#pragma once

#include <functional>
#include <string>

#include "payload/levels_snapshot.h"

namespace study {

inline constexpr double kHeldCaptureMaxDeviationPct = 10;

struct ScaleGuardResult {
  bool tripped = false;
  std::string message;  // empty when the map agrees with the chart
};

// Checks `snapshot` against `chartPrice` (0 when the chart has no bars: never trips).
// `ownUnderlying` says whether the chart symbol resolves to the snapshot's API symbol.
// `formatPrice` formats prices for the message.
ScaleGuardResult CheckScaleGuard(const payload::LevelsSnapshot& snapshot, double chartPrice, double limitPct,
                                 bool ownUnderlying, const std::function<std::string(double)>& formatPrice);

inline constexpr const char* kHeldCaptureMessage =
    "Locked at open: chart has moved since capture; opening levels remain visible.";

}  // namespace study
