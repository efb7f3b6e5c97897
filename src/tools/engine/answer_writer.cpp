// The answer's outer object: the envelope (identity, notes, expiry echo, chain counts), then the
// root sections and the level block, each written by a file of its own; and the member helpers
// all of them share.
#include "engine/answer_writer.h"

#include <cmath>

#include "engine/answer_parts.h"
#include "engine/answer_provenance.h"
#include "formats/typed_time.h"

namespace engine {

double RoundTo(double value, double unit) {
  if (unit >= 1) return std::round(value / unit) * unit;
  const double scale = std::round(1 / unit);
  return std::round(value * scale) / scale;
}

AnswerOut::AnswerOut(const EngineAnswer& answer, std::string* text)
    : answer(answer), levels(answer.levels), w(text, jsonout::JsonWriter::Layout::kCompact) {}

double AnswerOut::Price(double underlyingPrice) const {
  const double chartPrice = underlyingPrice * answer.ratio;
  return answer.priceTick > 0 ? RoundToTick(chartPrice, answer.priceTick) : RoundTo(chartPrice, 1e-4);
}

void AnswerOut::PriceMember(const char* key, double underlyingPrice) {
  w.Key(key);
  w.Number(Price(underlyingPrice));
}

void AnswerOut::LevelMember(const char* key, const Level& level) {
  if (level.has) PriceMember(key, level.value);
}

void AnswerOut::Money(const char* key, double value) {
  w.Key(key);
  w.Number(RoundTo(value, 1));
}

void AnswerOut::Text(const char* key, const std::string& value) {
  w.Key(key);
  w.String(value);
}

void AnswerOut::Flag(const char* key, bool value) {
  w.Key(key);
  w.Bool(value);
}

void AnswerOut::Strings(const std::vector<std::string>& values) {
  w.BeginArray();
  for (const std::string& v : values) w.String(v);
  w.EndArray();
}

void AnswerOut::BandObject(const char* key, const Band& band, const char* lowKey, const char* highKey,
                           const char* label) {
  if (!band.has) return;
  w.Key(key);
  w.BeginObject();
  PriceMember(lowKey, band.low);
  PriceMember(highKey, band.high);
  if (label != nullptr) Text("label", label);
  w.EndObject();
}

std::string AnswerOut::Method() const { return ConversionMethodText(answer.mapping); }

std::string AnswerOut::Scope() const { return ScopeText(answer.expiry); }

std::string AnswerOut::SelectedExpiration() const { return SelectedExpirationText(answer.expiry); }

namespace {

void WriteExpirySelection(AnswerOut& out) {
  const EngineAnswer& a = out.answer;
  jsonout::JsonWriter& w = out.w;
  const double asOfMs = std::floor(a.asOfSeconds) * 1000.0;
  w.Key("expiry_selection");
  w.BeginObject();
  out.Text("mode", a.expiry.mode);
  w.Key("selected_expirations");
  out.Strings(a.expiry.echoed);
  w.Key("coverage");
  w.BeginObject();
  w.Key("served");
  w.Int(static_cast<long long>(a.expiry.used.size()));
  w.Key("record_expirations");
  w.Int(static_cast<long long>(a.expiry.echoed.size()));
  w.EndObject();
  w.Key("captured_at");
  w.Number(asOfMs);
  w.Key("quotes_at");
  w.Number(asOfMs);
  w.EndObject();
  w.Key("selected_expirations");
  out.Strings(a.expiry.echoed);
}

void WriteChainCounts(AnswerOut& out) {
  const EngineAnswer& a = out.answer;
  jsonout::JsonWriter& w = out.w;
  w.Key("chain");
  w.BeginObject();
  w.Key("contracts_read");
  w.Int(static_cast<long long>(a.contractsRead));
  w.Key("contracts_used");
  w.Int(static_cast<long long>(a.priced.contracts.size()));
  w.Key("rows_skipped");
  w.Int(static_cast<long long>(a.issues.count));
  w.Key("rate");
  w.Number(a.priced.market.rate);
  w.Key("dividend_yield");
  w.Number(a.priced.market.dividend);
  w.EndObject();
}

// The locked fields the study reads (it takes a map as locked only with a capture time), and
// the basis a service was asked for beside the one it computed.
void WriteServiceStamp(AnswerOut& out, const ServiceStamp& stamp) {
  out.Flag("locked_mode", stamp.locked);
  if (stamp.locked) {
    out.Flag("locked_snapshot", true);
    out.Text("locked_captured_at", stamp.lockedCapturedAt);
    out.w.Key("locked_refresh_after_unix");
    out.w.Number(stamp.lockedRefreshAfterUnix);
  }
  out.Text("locked_session", stamp.lockedSession);
  if (stamp.requestedBasis.empty()) return;
  out.Text("requested_basis", stamp.requestedBasis);
  out.Text("basis", kEngineBasis);
}

void WriteEnvelope(AnswerOut& out, const ServiceStamp& stamp) {
  const EngineAnswer& a = out.answer;
  out.Flag("ok", true);
  out.Flag("connected", true);
  out.Text("requested_symbol", a.requestedSymbol);
  out.Text("resolved_symbol", a.resolvedSymbol);
  out.Text("source_snapshot_time", formats::UtcTimestampText(a.asOfSeconds));
  out.Text("session_date", a.sessionDate);
  out.Text("engine", kEngineName);
  out.Text("conversion_method", out.Method());
  out.Text("scope", out.Scope());
  out.Text("selected_expiration", out.SelectedExpiration());
  out.w.Key("conversion_ratio");
  out.w.Number(a.ratio);
  if (!a.conversionNote.empty()) out.Text("conversion_note", a.conversionNote);
  out.Text("expiration_note", a.expirationNote);
  if (!a.mappingNote.empty()) out.Text("mapping_note", a.mappingNote);
  WriteServiceStamp(out, stamp);
  if (a.expiry.mode != "legacy") WriteExpirySelection(out);
  WriteChainCounts(out);
}

}  // namespace

std::string LevelsAnswerJson(const EngineAnswer& answer, const ServiceStamp& stamp) {
  std::string text;
  AnswerOut out(answer, &text);
  out.w.BeginObject();
  WriteEnvelope(out, stamp);
  WriteRootSections(out);
  WriteLevelBlock(out);
  out.w.EndObject();
  return text;
}

}  // namespace engine
