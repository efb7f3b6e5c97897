#include "study/scale_guard.h"

#include <cmath>

#include "text/format.h"

namespace study {
namespace {

double SpotDeviationPct(double spot, double chartPrice) {
  return std::fabs(spot - chartPrice) / chartPrice * 100;
}

std::string ScaleGuardTrippedMessage(const std::string& spotText, const std::string& chartText,
                                     double deviationPct, double limitPct) {
  return text::Format("Scale guard: payload spot %s vs chart %s (%s%% apart, limit %.2f%%).", spotText,
                      chartText, text::FixedPoint(deviationPct, 2), limitPct);
}

}  // namespace

ScaleGuardResult CheckScaleGuard(const payload::LevelsSnapshot& snapshot, double chartPrice, double limitPct,
                                 bool ownUnderlying, const std::function<std::string(double)>& formatPrice) {
  ScaleGuardResult result;
  if (!snapshot.valid || !snapshot.spot.has || !(chartPrice > 0)) return result;
  const double deviation = SpotDeviationPct(snapshot.spot.value, chartPrice);
  if (!(deviation > limitPct)) return result;
  if (snapshot.locked && ownUnderlying && deviation <= kHeldCaptureMaxDeviationPct) {
    result.message = kHeldCaptureMessage;
    return result;
  }
  result.tripped = true;
  result.message = ScaleGuardTrippedMessage(formatPrice(snapshot.spot.value), formatPrice(chartPrice),
                                            deviation, limitPct);
  return result;
}

}  // namespace study
