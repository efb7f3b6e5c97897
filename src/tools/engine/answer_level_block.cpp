// The answer's level block ("display_levels"): its identity, the core levels, the models, the
// greek walls and the per-strike lists the study's heatmaps and profile are drawn from.
#include "engine/answer_parts.h"
#include "engine/answer_provenance.h"
#include "engine/answer_writer.h"
#include "formats/typed_time.h"

namespace engine {
namespace {

void WriteIdentity(AnswerOut& out) {
  const EngineAnswer& a = out.answer;
  out.Text("session_date", a.sessionDate);
  out.Text("source", a.resolvedSymbol);
  out.Text("engine", kEngineName);
  out.Text("conversion_method", out.Method());
  out.Text("scope", out.Scope());
  out.Text("selected_expiration", out.SelectedExpiration());
  out.Text("source_snapshot_time", formats::UtcTimestampText(a.asOfSeconds));
  out.Text("ts", formats::UtcTimestampText(a.asOfSeconds));
  out.Text("regime", RegimeText(out.levels.netGex));
  out.w.Key("conversion_ratio");
  out.w.Number(a.ratio);
}

void WriteCoreLevels(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  out.PriceMember("spot", levels.spot);
  out.LevelMember("call_wall", levels.callWall);
  out.LevelMember("put_wall", levels.putWall);
  out.LevelMember("gamma_flip", levels.gammaFlip);
  out.LevelMember("vol_trigger", levels.volTrigger);
  out.LevelMember("max_pain", levels.maxPain);
  out.LevelMember("call_oi_wall", levels.callOiWall);
  out.LevelMember("put_oi_wall", levels.putOiWall);
  out.LevelMember("zero_dex", levels.zeroDex);
  out.Money("net_gex", levels.netGex);
  out.Money("net_dex", levels.netDex);
  if (levels.atmIvPercent.has) {
    w.Key("atm_iv");
    w.Number(RoundTo(levels.atmIvPercent.value, 0.01));
  }
  w.Key("zero_gamma");
  w.BeginObject();
  out.Flag("available", levels.zeroGamma.has);
  if (levels.zeroGamma.has) {
    out.PriceMember("price", levels.zeroGamma.value);
    out.BandObject("band", levels.zeroGammaBand, "lower", "upper");
  }
  w.EndObject();
}

void WriteModels(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  w.Key("account_map");
  w.BeginObject();
  out.Text("mode", "full");
  out.Text("focus_preset", "balanced");
  int count = 0;
  for (const FocusPoint& f : levels.focus) count += f.level.has ? 1 : 0;
  w.Key("focus_count");
  w.Int(count);
  w.EndObject();
  w.Key("own_model");
  w.BeginObject();
  w.Key("pinning_score");
  w.Number(RoundTo(levels.pinningScore, 0.1));
  w.Key("hedge_1pct_shares");
  w.Number(RoundTo(levels.hedgeOnePercentShares, 1));
  out.Text("hedge_direction", levels.netGex >= 0 ? "dampening" : "pro_cyclical");
  if (!levels.flipSide.empty()) out.Text("flip_side", levels.flipSide);
  w.EndObject();
}

void WriteIvWall(AnswerOut& out, const char* key, const Level& wall, double ivPercent) {
  if (!wall.has) return;
  out.w.Key(key);
  out.w.BeginObject();
  out.PriceMember("strike", wall.value);
  out.w.Key("iv");
  out.w.Number(RoundTo(ivPercent, 0.01));
  out.w.EndObject();
}

// The ranked walls and zones, each a list in rank order.
void WriteGreekLists(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  w.Key("vanna_walls");
  w.BeginArray();
  for (const RankedStrike& r : levels.vannaWalls) {
    w.BeginObject();
    out.PriceMember("strike", r.strike);
    w.Key("intensity");
    w.Number(RoundTo(r.intensity, 0.001));
    out.Money("vanna", r.value);
    w.EndObject();
  }
  w.EndArray();
  w.Key("charm_zones");
  w.BeginArray();
  for (const Band& b : levels.charmZones) {
    w.BeginObject();
    out.PriceMember("low", b.low);
    out.PriceMember("high", b.high);
    w.EndObject();
  }
  w.EndArray();
  w.Key("vega_walls");
  w.BeginArray();
  for (const RankedStrike& r : levels.vegaWalls) {
    w.BeginObject();
    out.PriceMember("strike", r.strike);
    out.Money("vega", r.value);
    w.EndObject();
  }
  w.EndArray();
}

void WriteGreekWalls(AnswerOut& out) {
  const Levels& levels = out.levels;
  jsonout::JsonWriter& w = out.w;
  w.Key("iv_walls");
  w.BeginObject();
  WriteIvWall(out, "call", levels.ivCallWall, levels.ivCallWallPercent);
  WriteIvWall(out, "put", levels.ivPutWall, levels.ivPutWallPercent);
  w.EndObject();
  WriteGreekLists(out);
  w.Key("vanna_charm_flips");
  w.BeginObject();
  out.LevelMember("vanna_flip", levels.vannaFlip);
  out.LevelMember("charm_flip", levels.charmFlip);
  w.EndObject();
  w.Key("hybrid_walls");
  w.BeginObject();
  out.LevelMember("call_wall", levels.hybridCallWall);
  out.LevelMember("put_wall", levels.hybridPutWall);
  out.LevelMember("vol_trigger", levels.hybridVolTrigger);
  w.EndObject();
}

// A list over all strikes of one field, in strike order.
void WriteColumn(AnswerOut& out, const char* key, double StrikeRow::*field, bool isPrice) {
  out.w.Key(key);
  out.w.BeginArray();
  for (const StrikeRow& r : out.answer.rows) {
    out.w.Number(isPrice ? out.Price(r.*field) : RoundTo(r.*field, 1));
  }
  out.w.EndArray();
}

// A list of {"strike", `key`} objects over all strikes, in strike order.
void WriteStrikeList(AnswerOut& out, const char* listKey, const char* key, double StrikeRow::*field) {
  out.w.Key(listKey);
  out.w.BeginArray();
  for (const StrikeRow& r : out.answer.rows) {
    out.w.BeginObject();
    out.PriceMember("strike", r.strike);
    out.Money(key, r.*field);
    out.w.EndObject();
  }
  out.w.EndArray();
}

void WriteGexTopo(AnswerOut& out) {
  jsonout::JsonWriter& w = out.w;
  w.Key("gex_topo");
  w.BeginObject();
  w.Key("expirations");
  out.Strings(out.answer.priced.expirations);
  w.Key("rows");
  w.BeginArray();
  for (const StrikeRow& r : out.answer.rows) {
    w.BeginObject();
    out.PriceMember("strike", r.strike);
    w.Key("cells");
    w.BeginArray();
    for (double gex : r.gexByExpiry) w.Number(RoundTo(gex, 1));
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void WriteStrikeGreeks(AnswerOut& out) {
  jsonout::JsonWriter& w = out.w;
  w.Key("strike_greeks");
  w.BeginObject();
  WriteColumn(out, "strikes", &StrikeRow::strike, true);
  WriteColumn(out, "gamma", &StrikeRow::netGex, false);
  WriteColumn(out, "delta", &StrikeRow::dex, false);
  WriteColumn(out, "vanna", &StrikeRow::vanna, false);
  WriteColumn(out, "vega", &StrikeRow::vega, false);
  WriteColumn(out, "charm", &StrikeRow::charm, false);
  w.Key("oi");
  w.BeginArray();
  for (const StrikeRow& r : out.answer.rows) w.Number(r.callOi + r.putOi);
  w.EndArray();
  WriteColumn(out, "vol", &StrikeRow::volume, false);
  w.EndObject();
}

void WritePerStrike(AnswerOut& out) {
  WriteStrikeList(out, "gex_profile", "gex", &StrikeRow::netGex);
  WriteGexTopo(out);
  WriteStrikeList(out, "charm_by_strike", "charm", &StrikeRow::charm);
  out.w.Key("label_exposures");
  out.w.BeginObject();
  WriteColumn(out, "strikes", &StrikeRow::strike, true);
  WriteColumn(out, "gamma", &StrikeRow::netGex, false);
  WriteColumn(out, "delta", &StrikeRow::dex, false);
  out.w.EndObject();
  WriteStrikeGreeks(out);
}

}  // namespace

void WriteLevelBlock(AnswerOut& out) {
  out.w.Key("display_levels");
  out.w.BeginObject();
  WriteIdentity(out);
  WriteCoreLevels(out);
  WriteModels(out);
  WriteGreekWalls(out);
  WritePerStrike(out);
  out.w.EndObject();
}

}  // namespace engine
