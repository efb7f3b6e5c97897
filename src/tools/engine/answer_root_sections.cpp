// The members of the answer beside the level block: the flow, the points of interest, the
// zones, the volatility zones and the extended levels (implied density and hedge flow).
#include <algorithm>
#include <string>
#include <vector>

#include "engine/answer_parts.h"

namespace engine {
namespace {

void WriteFocusPoints(AnswerOut& out) {
  jsonout::JsonWriter& w = out.w;
  w.Key("points_of_interest");
  w.BeginObject();
  for (size_t i = 0; i < out.levels.focus.size(); ++i) {
    const FocusPoint& f = out.levels.focus[i];
    if (!f.level.has) continue;
    const std::string key = "focus_" + std::to_string(i + 1);
    w.Key(key);
    w.BeginObject();
    out.PriceMember("value", f.level.value);
    out.Text("label", f.label);
    out.Text("short_label", f.shortLabel);
    out.Text("confidence", f.confidence);
    w.EndObject();
  }
  w.EndObject();
}

void WriteZones(AnswerOut& out) {
  const Levels& levels = out.levels;
  out.w.Key("zones");
  out.w.BeginObject();
  out.BandObject("upside_cluster", levels.upsideCluster, "low", "high", "Call cluster");
  out.BandObject("battle_zone", levels.battleZone, "low", "high", "Flip battle");
  out.BandObject("downside_cluster", levels.downsideCluster, "low", "high", "Put cluster");
  out.w.EndObject();
}

void WriteVolZones(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  if (!levels.expectedMove.has) return;
  w.Key("vol_zones");
  w.BeginObject();
  out.PriceMember("anchor", levels.spot);
  out.PriceMember("em_1sigma", levels.expectedMove.value);
  w.Key("premium");
  w.Number(0.25);
  out.Flag("em_frozen", false);
  w.EndObject();
}

void WriteImpliedDensity(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  w.Key("implied_density");
  w.BeginObject();
  out.Flag("available", true);
  out.Text("horizon", levels.horizon);
  w.Key("levels");
  w.BeginArray();
  // Levels that print at one price (zero gamma and zero DEX a hundred-thousandth apart) would
  // take the study's few slots twice; the first, the more important, speaks for them.
  std::vector<double> written;
  for (const TouchLevel& t : levels.touches) {
    if (written.size() == kMaxTouchLevels) break;
    const double price = out.Price(t.price);
    if (std::find(written.begin(), written.end(), price) != written.end()) continue;
    written.push_back(price);
    w.BeginObject();
    w.Key("price");
    w.Number(price);
    w.Key("p_touch_pct");
    w.Number(t.touchPercent);
    w.EndObject();
  }
  w.EndArray();
  w.Key("stats");
  w.BeginObject();
  out.PriceMember("p16", levels.densityBand.low);
  out.PriceMember("p50", levels.densityMedian);
  out.PriceMember("p84", levels.densityBand.high);
  w.EndObject();
  w.EndObject();
}

void WriteHedgeLeg(AnswerOut& out, const char* key, const char* amountKey, const Level& amount) {
  if (!amount.has) return;
  out.w.Key(key);
  out.w.BeginObject();
  out.Money(amountKey, amount.value);
  out.Text("direction", amount.value >= 0 ? "buy" : "sell");
  out.w.EndObject();
}

void WriteHedgeFlow(AnswerOut& out) {
  const Levels& levels = out.levels;
  out.w.Key("hedge_flow");
  out.w.BeginObject();
  out.Flag("available", true);
  WriteHedgeLeg(out, "charm", "hedge_usd", levels.charmHedgeUsd);
  WriteHedgeLeg(out, "vanna", "hedge_usd_per_volpt", levels.vannaHedgeUsdPerVolPoint);
  out.BandObject("pressure_zone", levels.pressureZone, "lower", "upper");
  out.w.EndObject();
}

void WriteExtendedLevels(AnswerOut& out) {
  out.w.Key("extended_levels");
  out.w.BeginObject();
  if (out.levels.densityBand.has) WriteImpliedDensity(out);
  WriteHedgeFlow(out);
  out.w.EndObject();
}

}  // namespace

void WriteRootSections(AnswerOut& out) {
  out.w.Key("flow");
  out.w.BeginObject();
  out.Money("net_delta_notional", out.levels.netDex);
  out.w.EndObject();
  WriteFocusPoints(out);
  WriteZones(out);
  WriteVolZones(out);
  WriteExtendedLevels(out);
}

}  // namespace engine
