#include "engine/compute_levels.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/max_pain.h"
#include "engine/positioning_zones.h"
#include "engine/repriced_totals.h"
#include "engine/strike_levels.h"
#include "engine/volatility_levels.h"

namespace engine {
namespace {

// The zero-gamma band: where the total exposure, taken linearly around its zero, stays within
// 5 % of its largest magnitude on the grid.
constexpr double kBandShare = 0.05;

// The horizon of the expected move and the touch probabilities: the nearest expiration's close,
// but at least a day ahead, or a same-day expiry late in the session would shrink the day's
// zones onto spot.
double HorizonYears(const PricedChain& chain) { return std::fmax(chain.expiryYears[0], 1.0 / 365.0); }

std::vector<double> Negated(std::vector<double> values) {
  for (double& v : values) v = -v;
  return values;
}

Level FromCrossing(const StrikeCrossing& c) { return c.found ? Level{true, c.price} : Level{}; }

}  // namespace

void FindModelZeros(const PricedChain& chain, Levels* out) {
  const double spot = chain.market.spot;
  const double low = spot * (1 - kModelRange), high = spot * (1 + kModelRange);
  const RepricedTotals totals(chain, low, high);
  const double tolerance = spot * kModelTolerance;
  const ZeroCrossing gamma =
      FindZeroNearSpot([&](double s) { return totals.GammaAt(s); }, GeometricGrid(low, high, kModelGridSteps),
                       totals.GammaOnGrid(low, high, kModelGridSteps), spot, tolerance);
  if (gamma.found) {
    out->zeroGamma = {true, gamma.price};
    if (gamma.slope != 0) {
      const double halfWidth =
          std::fmin(kBandShare * gamma.largestValue / std::fabs(gamma.slope), spot * kModelRange);
      if (halfWidth > 0) out->zeroGammaBand = {true, gamma.price - halfWidth, gamma.price + halfWidth};
    }
  }
  // Every contract's delta rises with the price, so the delta exposure over price crosses zero
  // at most once: the two ends of the range decide whether it does.
  auto dex = [&](double s) { return totals.DeltaAt(s); };
  const ZeroCrossing delta = FindZeroNearSpot(dex, {low, high}, {dex(low), dex(high)}, spot, tolerance);
  if (delta.found) out->zeroDex = {true, delta.price};
}

namespace {

// The crossing of the running sum of `values` over the strikes within the model window.
StrikeCrossing FlipInWindow(const std::vector<double>& strikes, const std::vector<double>& values,
                            double spot) {
  const auto first = std::lower_bound(strikes.begin(), strikes.end(), spot * (1 - kModelRange));
  const auto last = std::upper_bound(strikes.begin(), strikes.end(), spot * (1 + kModelRange));
  const size_t from = static_cast<size_t>(first - strikes.begin());
  const size_t to = static_cast<size_t>(last - strikes.begin());
  if (to <= from) return {};
  return CumulativeCrossing({first, last}, {values.begin() + from, values.begin() + to}, spot);
}

// "above" with long gamma and spot at or above the flip, "below" with short gamma and spot
// below it; empty when the running sum and the total disagree, rather than say both.
std::string FlipSide(const Levels& l) {
  if (!l.gammaFlip.has) return "";
  const bool above = l.spot >= l.gammaFlip.value;
  const bool longGamma = l.netGex >= 0;
  if (above != longGamma) return "";
  return above ? "above" : "below";
}

void Walls(const std::vector<StrikeRow>& rows, double spot, Levels* out) {
  const std::vector<double> strikes = Strikes(rows);
  out->callWall = StrongestStrike(strikes, Field(rows, &StrikeRow::callGex), spot);
  out->putWall = StrongestStrike(strikes, Negated(Field(rows, &StrikeRow::putGex)), spot);
  out->callOiWall = StrongestStrike(strikes, Field(rows, &StrikeRow::callOi), spot);
  out->putOiWall = StrongestStrike(strikes, Field(rows, &StrikeRow::putOi), spot);
  const std::vector<double> net = Field(rows, &StrikeRow::netGex);
  const StrikeCrossing flip = FlipInWindow(strikes, net, spot);
  out->gammaFlip = FromCrossing(flip);
  if (flip.found) out->battleZone = {true, flip.lowStrike, flip.highStrike};
  out->volTrigger = HighestNegativeBelow(strikes, net, flip.found ? flip.price : spot);
  out->flipSide = FlipSide(*out);
}

void IvWalls(const std::vector<StrikeRow>& rows, double spot, Levels* out) {
  const std::vector<double> strikes = Strikes(rows);
  out->ivCallWall = StrongestStrike(strikes, Field(rows, &StrikeRow::callIvOi), spot);
  out->ivPutWall = StrongestStrike(strikes, Field(rows, &StrikeRow::putIvOi), spot);
  for (const StrikeRow& r : rows) {
    if (out->ivCallWall.has && r.strike == out->ivCallWall.value) {
      out->ivCallWallPercent = 100.0 * r.callIvOi / r.callOi;
    }
    if (out->ivPutWall.has && r.strike == out->ivPutWall.value) {
      out->ivPutWallPercent = 100.0 * r.putIvOi / r.putOi;
    }
  }
}

void GreekWalls(const std::vector<StrikeRow>& rows, double spot, Levels* out) {
  const std::vector<double> strikes = Strikes(rows);
  const std::vector<double> vanna = Field(rows, &StrikeRow::vanna);
  const std::vector<double> charm = Field(rows, &StrikeRow::charm);
  out->vannaWalls = TopByMagnitude(strikes, vanna, 5);
  out->vegaWalls = TopByMagnitude(strikes, Field(rows, &StrikeRow::vega), 4);
  for (const RankedStrike& top : TopByMagnitude(strikes, charm, 3)) {
    for (size_t i = 0; i < strikes.size(); ++i) {
      if (strikes[i] == top.strike) out->charmZones.push_back(StrikeBand(strikes, i));
    }
  }
  out->vannaFlip = FromCrossing(LocalCrossing(strikes, vanna, spot));
  out->charmFlip = FromCrossing(LocalCrossing(strikes, charm, spot));
}

void HybridWalls(const std::vector<StrikeRow>& rows, double spot, Levels* out) {
  double volume = 0;
  for (const StrikeRow& r : rows) volume += r.volume;
  if (volume <= 0) return;  // without the day's volume the walls are the plain ones
  const std::vector<double> strikes = Strikes(rows);
  const std::vector<double> calls = Field(rows, &StrikeRow::callHybridGex);
  const std::vector<double> puts = Field(rows, &StrikeRow::putHybridGex);
  std::vector<double> net(calls.size());
  for (size_t i = 0; i < net.size(); ++i) net[i] = calls[i] + puts[i];
  out->hybridCallWall = StrongestStrike(strikes, calls, spot);
  out->hybridPutWall = StrongestStrike(strikes, Negated(puts), spot);
  const StrikeCrossing flip = FlipInWindow(strikes, net, spot);
  out->hybridVolTrigger = HighestNegativeBelow(strikes, net, flip.found ? flip.price : spot);
}

void VolatilityView(const PricedChain& chain, Levels* out) {
  const MarketInputs& m = chain.market;
  const Level atm = AtTheMoneyVolatility(chain, 0);
  if (!atm.has) return;
  const double years = HorizonYears(chain);
  out->atmIvPercent = {true, 100.0 * atm.value};
  out->horizonYears = years;
  out->horizon = years > chain.expiryYears[0] ? std::string("1d") : chain.expirations[0] + " 16:00 New York";
  out->expectedMove = {true, m.spot * atm.value * std::sqrt(years)};
  auto quantile = [&](double z) { return HorizonQuantile(m.spot, atm.value, years, m.rate, m.dividend, z); };
  out->densityBand = {true, quantile(-1), quantile(1)};
  out->densityMedian = quantile(0);
  // The core levels in the order the study draws them, then the focus points and zero gamma;
  // the writer keeps each printed price once, the first kMaxTouchLevels of them.
  const Level* candidates[] = {&out->callWall,       &out->putWall,        &out->gammaFlip,
                               &out->volTrigger,     &out->maxPain,        &out->callOiWall,
                               &out->putOiWall,      &out->zeroDex,        &out->focus[0].level,
                               &out->focus[1].level, &out->focus[2].level, &out->zeroGamma};
  for (const Level* level : candidates) {
    if (!level->has) continue;
    const double p = TouchProbability(m.spot, level->value, atm.value, years, m.rate, m.dividend);
    out->touches.push_back({level->value, std::round(1000.0 * p) / 10.0});
  }
}

// Every flow is what dealers trade in the underlying to stay delta-neutral, positive for a
// purchase: minus the change of their delta, as the 1 % hedge is minus their gamma.
void HedgeFlow(const std::vector<StrikeRow>& rows, double spot, double yearsToClose, Levels* out) {
  double charmPerDay = 0, vanna = 0;
  for (const StrikeRow& r : rows) {
    charmPerDay += r.charm;
    vanna += r.vanna;
  }
  out->charmHedgeUsd = {true, -charmPerDay * yearsToClose * 365.0};
  out->vannaHedgeUsdPerVolPoint = {true, -vanna};
  out->hedgeOnePercentShares = -out->netGex / spot;
}

}  // namespace

Levels ComputeLevels(const PricedChain& chain, const std::vector<StrikeRow>& rows, double yearsToClose) {
  Levels out;
  const double spot = chain.market.spot;
  out.spot = spot;
  for (const StrikeRow& r : rows) {
    out.netGex += r.netGex;
    out.netDex += r.dex;
  }
  Walls(rows, spot, &out);
  FindModelZeros(chain, &out);
  out.maxPain = MaxPain(chain.contracts, 0, spot);
  out.upsideCluster = UpsideCluster(rows, spot);
  out.downsideCluster = DownsideCluster(rows, spot);
  IvWalls(rows, spot, &out);
  GreekWalls(rows, spot, &out);
  HybridWalls(rows, spot, &out);
  // The expected move sizes the focus search, and the focus points get touch probabilities.
  const Level atm = AtTheMoneyVolatility(chain, 0);
  const double move = atm.has ? spot * atm.value * std::sqrt(HorizonYears(chain)) : spot * 0.01;
  out.focus = FocusPoints(rows, spot, move);
  out.pressureZone = PressureZone(rows, spot, move);
  out.pinningScore = PinningScore(rows, spot, move);
  VolatilityView(chain, &out);
  HedgeFlow(rows, spot, yearsToClose, &out);
  return out;
}

}  // namespace engine
