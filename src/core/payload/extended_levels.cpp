// Root's "extended_levels": the implied density levels with their touch probabilities and band,
// and the dealer hedge-flow forecast.
#include "payload/answer_fields.h"
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

void ReadImpliedDensity(json::Node density, LevelsSnapshot* snapshot) {
  json::Node levels = json::Member(density, "levels");
  if (levels.IsArray()) {
    for (const json::Node entry : levels.Elements()) {
      if (snapshot->densityCount >= kMaxDensityLevels) break;
      if (!entry.IsObject()) continue;
      double price = 0;
      double touchPct = 0;
      if (!json::MemberNumber(entry, "price", &price) ||
          !json::MemberNumber(entry, "p_touch_pct", &touchPct)) {
        continue;
      }
      snapshot->densityPrice[snapshot->densityCount] = price;
      snapshot->densityTouchPct[snapshot->densityCount] = touchPct;
      ++snapshot->densityCount;
    }
  }
  json::Node stats = json::Member(density, "stats");
  if (!stats.IsObject()) return;
  double p16 = 0;
  double p84 = 0;
  if (json::MemberNumber(stats, "p16", &p16) && json::MemberNumber(stats, "p84", &p84) && p84 > p16) {
    snapshot->densityBand = DensityBand{true, p16, p84};
  }
}

void ReadHedgeFlow(json::Node hedgeFlow, LevelsSnapshot* snapshot) {
  json::Node charm = json::Member(hedgeFlow, "charm");
  if (charm.IsObject()) {
    ReadLevel(charm, "hedge_usd", &snapshot->charmHedgeUsd);
    snapshot->charmHedgeDirection = ServiceText(charm, "direction");
  }
  json::Node vanna = json::Member(hedgeFlow, "vanna");
  if (vanna.IsObject()) {
    ReadLevel(vanna, "hedge_usd_per_volpt", &snapshot->vannaHedgeUsdPerVolPoint);
    snapshot->vannaHedgeDirection = ServiceText(vanna, "direction");
  }
  json::Node pressure = json::Member(hedgeFlow, "pressure_zone");
  ReadLevel(pressure, "lower", &snapshot->pressureZoneLower);
  ReadLevel(pressure, "upper", &snapshot->pressureZoneUpper);
}

}  // namespace

void ReadExtendedLevels(json::Node root, LevelsSnapshot* snapshot) {
  json::Node extended = json::Member(root, "extended_levels");
  if (!extended.IsObject()) return;
  json::Node density = json::Member(extended, "implied_density");
  if (density.IsObject() && json::MemberIsTrue(density, "available")) {
    ReadImpliedDensity(density, snapshot);
  }
  json::Node hedgeFlow = json::Member(extended, "hedge_flow");
  if (hedgeFlow.IsObject() && json::MemberIsTrue(hedgeFlow, "available")) {
    ReadHedgeFlow(hedgeFlow, snapshot);
  }
}

}  // namespace payload
