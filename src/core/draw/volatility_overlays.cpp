// Overlays built from volatility and the implied density: expected-move zones, the unstable
// corridor, the forecast band, the model zero gamma, the live IV band and the regime tint.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {
namespace {

using palette::LineCount;
using palette::LineNumber;

// Expected-move multipliers of the daily volatility zones, each drawn above and below the anchor.
constexpr double kMultipliers[] = {0.5, 1, 2};
constexpr int kMultiplierCount = std::size(kMultipliers);
static_assert(1 + 2 * kMultiplierCount <= LineCount(palette::kLbDailyVolZones));

constexpr int kFaintBandTransparency = 92;
constexpr int kIvBandTransparency = 94;
constexpr int kRegimeTransparency = 96;

// Vol trigger and gamma flip this close (as a share of spot) mark an unstable corridor.
constexpr double kCorridorShareOfSpot = 0.0035;
constexpr double kCoincidentLevels = 0.000000001;
constexpr double kMinutesPerYear = 525600;
constexpr int kMinIvHorizon = 15;
constexpr int kMaxIvHorizon = 390;
constexpr double kRegimeShareOfSpot = 0.02;

// Not a subgraph colour: the model zero gamma keeps its own teal.
constexpr host::Rgb kModelZeroGammaColour{94, 214, 196};

bool SpotAbove0(const LevelsSnapshot& s) { return s.spot.has && s.spot.value > 0; }

}  // namespace

void DrawDailyVolZones(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.dailyVolZones) return;
  if (!s.volAnchor.has || !s.emOneSigma.has || !(s.emOneSigma.value > 0)) return;
  const double anchor = s.volAnchor.value;
  const int subgraph = palette::kSgDailyVolZone;
  // The anchor takes the block's first number, each multiplier the next two (plus, then minus).
  DrawOverlayLine(pass, LineNumber(palette::kLbDailyVolZones), anchor, subgraph, 1, "DVZ AVG");
  for (int k = 0; k < kMultiplierCount; ++k) {
    const double m = kMultipliers[k];
    const double step = s.volPremium * s.emOneSigma.value * m;
    DrawOverlayLine(pass, LineNumber(palette::kLbDailyVolZones, 1 + 2 * k), anchor + step, subgraph, 2,
                    text::Format("DVZ +%g", m));
    DrawOverlayLine(pass, LineNumber(palette::kLbDailyVolZones, 2 + 2 * k), anchor - step, subgraph, 2,
                    text::Format("DVZ -%g", m));
  }
}

void DrawUnstableCorridor(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.unstableCorridor) return;
  if (!s.volTrigger.has || !s.gammaFlip.has || !SpotAbove0(s)) return;
  const double a = s.volTrigger.value;
  const double b = s.gammaFlip.value;
  const double distance = std::fabs(a - b);
  if (!(distance > kCoincidentLevels && distance <= s.spot.value * kCorridorShareOfSpot)) return;
  DrawBand(pass, LineNumber(palette::kLbUnstableCorridor), std::min(a, b), std::max(a, b),
           SubgraphColour(pass, palette::kSgUnstableCorridor), kFaintBandTransparency);
}

void DrawForecastBand(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.forecastBand || !s.densityBand.has) return;
  DrawBand(pass, LineNumber(palette::kLbForecastBand), s.densityBand.p16, s.densityBand.p84,
           SubgraphColour(pass, palette::kSgGammaFlip), kFaintBandTransparency);
}

void DrawModelZeroGamma(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.zeroGammaModel) return;
  if (s.zeroGammaModel.has) {
    DrawLevelLine(pass, {.lineNumber = LineNumber(palette::kLbModelZeroGamma),
                         .price = s.zeroGammaModel.value,
                         .colour = kModelZeroGammaColour,
                         .width = 1,
                         .style = 1,
                         .label = "0y - Zero Gamma (model)",
                         .labelOn = pass.settings.labelLines});
  }
  if (s.zeroGammaBand.has) {
    DrawBand(pass, LineNumber(palette::kLbModelZeroGammaBand), s.zeroGammaBand.lower, s.zeroGammaBand.upper,
             kModelZeroGammaColour, kFaintBandTransparency);
  }
}

void DrawIvBand(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.ivBand) return;
  if (!SpotAbove0(s) || !s.atmIv.has || !(s.atmIv.value > 0)) return;
  const int minutes = std::clamp(pass.settings.ivHorizonMinutes, kMinIvHorizon, kMaxIvHorizon);
  const double spot = s.spot.value;
  const double d = std::sqrt(minutes / kMinutesPerYear) * (s.atmIv.value / 100) * spot;
  if (!(d > 0)) return;
  DrawBand(pass, LineNumber(palette::kLbIvBand), spot - d, spot + d, SubgraphColour(pass, palette::kSgIvZone),
           kIvBandTransparency);
  DrawOverlayLine(pass, LineNumber(palette::kLbIvUpperLine), spot + d, palette::kSgIvZone, 2,
                  text::Format("IV +%dm", minutes));
  DrawLevelLine(pass, {.lineNumber = LineNumber(palette::kLbIvLowerLine),
                       .price = spot - d,
                       .colour = SubgraphColour(pass, palette::kSgIvZone),
                       .width = 1,
                       .style = 2,
                       .label = "",
                       .labelOn = false});
}

void DrawRegimeTint(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.regimeTint) return;
  if (!s.gammaFlip.has || !SpotAbove0(s)) return;
  const double flip = s.gammaFlip.value;
  const double d = s.spot.value * kRegimeShareOfSpot;
  DrawBand(pass, LineNumber(palette::kLbRegimeTintLong), flip, flip + d,
           SubgraphColour(pass, palette::kSgRegimeTintLong), kRegimeTransparency);
  DrawBand(pass, LineNumber(palette::kLbRegimeTintShort), flip - d, flip,
           SubgraphColour(pass, palette::kSgRegimeTintShort), kRegimeTransparency);
}

}  // namespace draw
