#include "engine/answer_writer.h"

#include <cmath>

#include "formats/typed_time.h"
#include "jsonout/json_writer.h"

namespace engine {
namespace {

using jsonout::JsonWriter;

// Prices are written to a ten-thousandth, money to the dollar, shares to one. Dividing by a
// power of ten gives the double nearest the decimal, so the text stays short.
double RoundTo(double value, double unit) {
  if (unit >= 1) return std::round(value / unit) * unit;
  const double scale = std::round(1 / unit);
  return std::round(value * scale) / scale;
}

class AnswerWriter {
 public:
  AnswerWriter(const EngineAnswer& a, std::string* out)
      : a_(a), levels_(a.levels), w_(out, JsonWriter::Layout::kCompact) {}

  void Write() {
    w_.BeginObject();
    Envelope();
    RootSections();
    w_.Key("display_levels");
    w_.BeginObject();
    LevelBlockIdentity();
    CoreLevels();
    Models();
    GreekWalls();
    PerStrike();
    w_.EndObject();
    w_.EndObject();
  }

 private:
  double Price(double underlyingPrice) const { return RoundTo(underlyingPrice * a_.ratio, 1e-4); }

  void PriceMember(const char* key, double underlyingPrice) {
    w_.Key(key);
    w_.Number(Price(underlyingPrice));
  }
  void LevelMember(const char* key, const Level& level) {
    if (level.has) PriceMember(key, level.value);
  }
  void Money(const char* key, double value) {
    w_.Key(key);
    w_.Number(RoundTo(value, 1));
  }
  void Text(const char* key, const std::string& value) {
    w_.Key(key);
    w_.String(value);
  }
  void Flag(const char* key, bool value) {
    w_.Key(key);
    w_.Bool(value);
  }
  void Strings(const std::vector<std::string>& values) {
    w_.BeginArray();
    for (const std::string& v : values) w_.String(v);
    w_.EndArray();
  }
  void BandObject(const char* key, const Band& band, const char* lowKey, const char* highKey,
                  const char* label = nullptr) {
    if (!band.has) return;
    w_.Key(key);
    w_.BeginObject();
    PriceMember(lowKey, band.low);
    PriceMember(highKey, band.high);
    if (label != nullptr) Text("label", label);
    w_.EndObject();
  }

  std::string Method() const {
    return a_.mapping.source == FuturesMapping::Source::kNone ? "none" : "ratio";
  }
  std::string Scope() const {
    return a_.expiry.mode == "legacy" ? "all_expirations" : "selected_expirations";
  }
  std::string SelectedExpiration() const {
    return a_.expiry.used.size() == 1 ? a_.expiry.used.front() : "";
  }

  void Envelope() {
    Flag("ok", true);
    Flag("connected", true);
    Text("requested_symbol", a_.requestedSymbol);
    Text("resolved_symbol", a_.resolvedSymbol);
    Text("source_snapshot_time", formats::UtcTimestampText(a_.asOfSeconds));
    Text("session_date", a_.sessionDate);
    Text("engine", kEngineName);
    Text("conversion_method", Method());
    Text("scope", Scope());
    Text("selected_expiration", SelectedExpiration());
    w_.Key("conversion_ratio");
    w_.Number(a_.ratio);
    if (!a_.conversionNote.empty()) Text("conversion_note", a_.conversionNote);
    Text("expiration_note", a_.expirationNote);
    if (!a_.mappingNote.empty()) Text("mapping_note", a_.mappingNote);
    Flag("locked_mode", false);
    Text("locked_session", "");
    if (a_.expiry.mode != "legacy") ExpirySelection();
    w_.Key("chain");
    w_.BeginObject();
    w_.Key("contracts_read");
    w_.Int(static_cast<long long>(a_.contractsRead));
    w_.Key("contracts_used");
    w_.Int(static_cast<long long>(a_.priced.contracts.size()));
    w_.Key("rows_skipped");
    w_.Int(static_cast<long long>(a_.issues.count));
    w_.Key("rate");
    w_.Number(a_.priced.market.rate);
    w_.Key("dividend_yield");
    w_.Number(a_.priced.market.dividend);
    w_.EndObject();
  }

  void ExpirySelection() {
    const double asOfMs = std::floor(a_.asOfSeconds) * 1000.0;
    w_.Key("expiry_selection");
    w_.BeginObject();
    Text("mode", a_.expiry.mode);
    w_.Key("selected_expirations");
    Strings(a_.expiry.echoed);
    w_.Key("coverage");
    w_.BeginObject();
    w_.Key("served");
    w_.Int(static_cast<long long>(a_.expiry.used.size()));
    w_.Key("record_expirations");
    w_.Int(static_cast<long long>(a_.expiry.echoed.size()));
    w_.EndObject();
    w_.Key("captured_at");
    w_.Number(asOfMs);
    w_.Key("quotes_at");
    w_.Number(asOfMs);
    w_.EndObject();
    w_.Key("selected_expirations");
    Strings(a_.expiry.echoed);
  }

  void RootSections() {
    w_.Key("flow");
    w_.BeginObject();
    Money("net_delta_notional", levels_.netDex);
    w_.EndObject();
    FocusPoints();
    Zones();
    VolZones();
    ExtendedLevels();
  }

  void FocusPoints() {
    w_.Key("points_of_interest");
    w_.BeginObject();
    for (size_t i = 0; i < levels_.focus.size(); ++i) {
      const FocusPoint& f = levels_.focus[i];
      if (!f.level.has) continue;
      const std::string key = "focus_" + std::to_string(i + 1);
      w_.Key(key);
      w_.BeginObject();
      PriceMember("value", f.level.value);
      Text("label", f.label);
      Text("short_label", f.shortLabel);
      Text("confidence", f.confidence);
      w_.EndObject();
    }
    w_.EndObject();
  }

  void Zones() {
    w_.Key("zones");
    w_.BeginObject();
    BandObject("upside_cluster", levels_.upsideCluster, "low", "high", "Call cluster");
    BandObject("battle_zone", levels_.battleZone, "low", "high", "Flip battle");
    BandObject("downside_cluster", levels_.downsideCluster, "low", "high", "Put cluster");
    w_.EndObject();
  }

  void VolZones() {
    if (!levels_.expectedMove.has) return;
    w_.Key("vol_zones");
    w_.BeginObject();
    PriceMember("anchor", levels_.spot);
    w_.Key("em_1sigma");
    w_.Number(RoundTo(levels_.expectedMove.value * a_.ratio, 1e-4));
    w_.Key("premium");
    w_.Number(0.25);
    Flag("em_frozen", false);
    w_.EndObject();
  }

  void ExtendedLevels() {
    w_.Key("extended_levels");
    w_.BeginObject();
    if (levels_.densityBand.has) {
      w_.Key("implied_density");
      w_.BeginObject();
      Flag("available", true);
      Text("horizon", levels_.horizon);
      w_.Key("levels");
      w_.BeginArray();
      for (const TouchLevel& t : levels_.touches) {
        w_.BeginObject();
        PriceMember("price", t.price);
        w_.Key("p_touch_pct");
        w_.Number(t.touchPercent);
        w_.EndObject();
      }
      w_.EndArray();
      w_.Key("stats");
      w_.BeginObject();
      PriceMember("p16", levels_.densityBand.low);
      PriceMember("p50", levels_.densityMedian);
      PriceMember("p84", levels_.densityBand.high);
      w_.EndObject();
      w_.EndObject();
    }
    w_.Key("hedge_flow");
    w_.BeginObject();
    Flag("available", true);
    HedgeLeg("charm", "hedge_usd", levels_.charmHedgeUsd);
    HedgeLeg("vanna", "hedge_usd_per_volpt", levels_.vannaHedgeUsdPerVolPoint);
    BandObject("pressure_zone", levels_.pressureZone, "lower", "upper");
    w_.EndObject();
    w_.EndObject();
  }

  void HedgeLeg(const char* key, const char* amountKey, const Level& amount) {
    if (!amount.has) return;
    w_.Key(key);
    w_.BeginObject();
    Money(amountKey, amount.value);
    Text("direction", amount.value >= 0 ? "buy" : "sell");
    w_.EndObject();
  }

  void LevelBlockIdentity() {
    Text("session_date", a_.sessionDate);
    Text("source", a_.resolvedSymbol);
    Text("engine", kEngineName);
    Text("conversion_method", Method());
    Text("scope", Scope());
    Text("selected_expiration", SelectedExpiration());
    Text("source_snapshot_time", formats::UtcTimestampText(a_.asOfSeconds));
    Text("ts", formats::UtcTimestampText(a_.asOfSeconds));
    Text("regime", levels_.netGex >= 0 ? "positive_gamma" : "negative_gamma");
    w_.Key("conversion_ratio");
    w_.Number(a_.ratio);
  }

  void CoreLevels() {
    PriceMember("spot", levels_.spot);
    LevelMember("call_wall", levels_.callWall);
    LevelMember("put_wall", levels_.putWall);
    LevelMember("gamma_flip", levels_.gammaFlip);
    LevelMember("vol_trigger", levels_.volTrigger);
    LevelMember("max_pain", levels_.maxPain);
    LevelMember("call_oi_wall", levels_.callOiWall);
    LevelMember("put_oi_wall", levels_.putOiWall);
    LevelMember("zero_dex", levels_.zeroDex);
    Money("net_gex", levels_.netGex);
    Money("net_dex", levels_.netDex);
    if (levels_.atmIvPercent.has) {
      w_.Key("atm_iv");
      w_.Number(RoundTo(levels_.atmIvPercent.value, 0.01));
    }
    w_.Key("zero_gamma");
    w_.BeginObject();
    Flag("available", levels_.zeroGamma.has);
    if (levels_.zeroGamma.has) {
      PriceMember("price", levels_.zeroGamma.value);
      BandObject("band", levels_.zeroGammaBand, "lower", "upper");
    }
    w_.EndObject();
  }

  void Models() {
    w_.Key("account_map");
    w_.BeginObject();
    Text("mode", "full");
    Text("focus_preset", "balanced");
    int count = 0;
    for (const FocusPoint& f : levels_.focus) count += f.level.has ? 1 : 0;
    w_.Key("focus_count");
    w_.Int(count);
    w_.EndObject();
    w_.Key("own_model");
    w_.BeginObject();
    w_.Key("pinning_score");
    w_.Number(RoundTo(levels_.pinningScore, 0.1));
    w_.Key("hedge_1pct_shares");
    w_.Number(RoundTo(levels_.hedgeOnePercentShares, 1));
    Text("hedge_direction", levels_.netGex >= 0 ? "dampening" : "pro_cyclical");
    if (levels_.gammaFlip.has) {
      Text("flip_side", levels_.spot >= levels_.gammaFlip.value ? "above" : "below");
    }
    w_.EndObject();
  }

  void GreekWalls() {
    w_.Key("iv_walls");
    w_.BeginObject();
    IvWall("call", levels_.ivCallWall, levels_.ivCallWallPercent);
    IvWall("put", levels_.ivPutWall, levels_.ivPutWallPercent);
    w_.EndObject();
    w_.Key("vanna_walls");
    w_.BeginArray();
    for (const RankedStrike& r : levels_.vannaWalls) {
      w_.BeginObject();
      PriceMember("strike", r.strike);
      w_.Key("intensity");
      w_.Number(RoundTo(r.intensity, 0.001));
      Money("vanna", r.value);
      w_.EndObject();
    }
    w_.EndArray();
    w_.Key("charm_zones");
    w_.BeginArray();
    for (const Band& b : levels_.charmZones) {
      w_.BeginObject();
      PriceMember("low", b.low);
      PriceMember("high", b.high);
      w_.EndObject();
    }
    w_.EndArray();
    w_.Key("vega_walls");
    w_.BeginArray();
    for (const RankedStrike& r : levels_.vegaWalls) {
      w_.BeginObject();
      PriceMember("strike", r.strike);
      Money("vega", r.value);
      w_.EndObject();
    }
    w_.EndArray();
    w_.Key("vanna_charm_flips");
    w_.BeginObject();
    LevelMember("vanna_flip", levels_.vannaFlip);
    LevelMember("charm_flip", levels_.charmFlip);
    w_.EndObject();
    w_.Key("hybrid_walls");
    w_.BeginObject();
    LevelMember("call_wall", levels_.hybridCallWall);
    LevelMember("put_wall", levels_.hybridPutWall);
    LevelMember("vol_trigger", levels_.hybridVolTrigger);
    w_.EndObject();
  }

  void IvWall(const char* key, const Level& wall, double ivPercent) {
    if (!wall.has) return;
    w_.Key(key);
    w_.BeginObject();
    PriceMember("strike", wall.value);
    w_.Key("iv");
    w_.Number(RoundTo(ivPercent, 0.01));
    w_.EndObject();
  }

  // A list over all strikes of one field, in strike order.
  void Column(const char* key, double StrikeRow::*field, bool isPrice) {
    w_.Key(key);
    w_.BeginArray();
    for (const StrikeRow& r : a_.rows) {
      w_.Number(isPrice ? Price(r.*field) : RoundTo(r.*field, 1));
    }
    w_.EndArray();
  }

  void PerStrike() {
    w_.Key("gex_profile");
    w_.BeginArray();
    for (const StrikeRow& r : a_.rows) {
      w_.BeginObject();
      PriceMember("strike", r.strike);
      Money("gex", r.netGex);
      w_.EndObject();
    }
    w_.EndArray();
    GexTopo();
    w_.Key("charm_by_strike");
    w_.BeginArray();
    for (const StrikeRow& r : a_.rows) {
      w_.BeginObject();
      PriceMember("strike", r.strike);
      Money("charm", r.charm);
      w_.EndObject();
    }
    w_.EndArray();
    w_.Key("label_exposures");
    w_.BeginObject();
    Column("strikes", &StrikeRow::strike, true);
    Column("gamma", &StrikeRow::netGex, false);
    Column("delta", &StrikeRow::dex, false);
    w_.EndObject();
    w_.Key("strike_greeks");
    w_.BeginObject();
    Column("strikes", &StrikeRow::strike, true);
    Column("gamma", &StrikeRow::netGex, false);
    Column("delta", &StrikeRow::dex, false);
    Column("vanna", &StrikeRow::vanna, false);
    Column("vega", &StrikeRow::vega, false);
    Column("charm", &StrikeRow::charm, false);
    w_.Key("oi");
    w_.BeginArray();
    for (const StrikeRow& r : a_.rows) w_.Number(r.callOi + r.putOi);
    w_.EndArray();
    Column("vol", &StrikeRow::volume, false);
    w_.EndObject();
  }

  void GexTopo() {
    w_.Key("gex_topo");
    w_.BeginObject();
    w_.Key("expirations");
    Strings(a_.priced.expirations);
    w_.Key("rows");
    w_.BeginArray();
    for (const StrikeRow& r : a_.rows) {
      w_.BeginObject();
      PriceMember("strike", r.strike);
      w_.Key("cells");
      w_.BeginArray();
      for (double gex : r.gexByExpiry) w_.Number(RoundTo(gex, 1));
      w_.EndArray();
      w_.EndObject();
    }
    w_.EndArray();
    w_.EndObject();
  }

  const EngineAnswer& a_;
  const Levels& levels_;
  JsonWriter w_;
};

}  // namespace

std::string LevelsAnswerJson(const EngineAnswer& answer) {
  std::string out;
  AnswerWriter(answer, &out).Write();
  return out;
}

}  // namespace engine
