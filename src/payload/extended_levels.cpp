// Root's "extended_levels": the implied density levels with their touch probabilities and band,
// and the dealer hedge-flow forecast.
#include "payload/answer_fields.h"
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

void ReadImpliedDensity(const json::Value& density, LevelsSnapshot* snapshot) {
  const json::Value* levels = json::Member(density, "levels");
  if (IsArray(levels)) {
    for (const json::Value& entry : levels->elements) {
      if (snapshot->densityCount >= kMaxDensityLevels) break;
      if (entry.kind != json::kObject) continue;
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
  const json::Value* stats = json::Member(density, "stats");
  if (!IsObject(stats)) return;
  double p16 = 0;
  double p84 = 0;
  if (json::MemberNumber(*stats, "p16", &p16) && json::MemberNumber(*stats, "p84", &p84) &&
      p84 > p16) {
    snapshot->densityBand = DensityBand{true, p16, p84};
  }
}

void ReadHedgeFlow(const json::Value& hedgeFlow, LevelsSnapshot* snapshot) {
  const json::Value* charm = json::Member(hedgeFlow, "charm");
  if (IsObject(charm)) {
    ReadLevel(charm, "hedge_usd", &snapshot->charmHedgeUsd);
    snapshot->charmHedgeDirection = ServiceText(*charm, "direction");
  }
  const json::Value* vanna = json::Member(hedgeFlow, "vanna");
  if (IsObject(vanna)) {
    ReadLevel(vanna, "hedge_usd_per_volpt", &snapshot->vannaHedgeUsdPerVolPoint);
    snapshot->vannaHedgeDirection = ServiceText(*vanna, "direction");
  }
  const json::Value* pressure = json::Member(hedgeFlow, "pressure_zone");
  ReadLevel(pressure, "lower", &snapshot->pressureZoneLower);
  ReadLevel(pressure, "upper", &snapshot->pressureZoneUpper);
}

}  // namespace

void ReadExtendedLevels(const json::Value& root, LevelsSnapshot* snapshot) {
  const json::Value* extended = json::Member(root, "extended_levels");
  if (!IsObject(extended)) return;
  const json::Value* density = json::Member(*extended, "implied_density");
  if (IsObject(density) && json::MemberIsTrue(*density, "available")) {
    ReadImpliedDensity(*density, snapshot);
  }
  const json::Value* hedgeFlow = json::Member(*extended, "hedge_flow");
  if (IsObject(hedgeFlow) && json::MemberIsTrue(*hedgeFlow, "available")) {
    ReadHedgeFlow(*hedgeFlow, snapshot);
  }
}

}  // namespace payload
