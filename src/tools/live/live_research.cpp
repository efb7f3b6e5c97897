#include "live/live_research.h"

#include <cmath>
#include <optional>

#include "engine/answer_writer.h"
#include "formats/typed_time.h"
#include "jsonout/json_writer.h"
#include "live/day_captures.h"
#include "live/locked_capture.h"
#include "live/research_book.h"
#include "live/served_symbols.h"
#include "service/expiry_request.h"
#include "text/format.h"

namespace live {
namespace {

using service::FixtureAnswer;
using service::ParamValue;

void Text(jsonout::JsonWriter& w, const char* key, const std::string& value) {
  w.Key(key);
  w.String(value);
}

void Level(jsonout::JsonWriter& w, const char* key, const std::optional<double>& level, double ratio) {
  if (!level) return;
  w.Key(key);
  w.Number(ShownPrice(*level, ratio));
}

// One capture object: the provenance the study compares captures by, then the levels in the
// prices shown.
void WriteRow(jsonout::JsonWriter& w, const ResearchDay& d, const store::CaptureSummary& s) {
  const double ratio = ShownRatio(s, d.mapped);
  const std::string time = formats::UtcTimestampText(static_cast<double>(s.asOf));
  const store::Provenance& p = s.provenance;
  w.BeginObject();
  Text(w, "session_date", s.sessionDate);
  Text(w, "ts", time);
  Text(w, "source", d.source);
  Text(w, "engine", p.engine.empty() ? engine::kEngineName : p.engine);
  Text(w, "conversion_method", ConversionMethod(d.mapped));
  Text(w, "scope", "all_expirations");
  Text(w, "selected_expiration", "");
  Text(w, "source_snapshot_time", p.sourceSnapshotTime.empty() ? time : p.sourceSnapshotTime);
  Text(w, "regime", p.regime);
  w.Key("conversion_ratio");
  w.Number(ratio);
  w.Key("spot");
  w.Number(ShownPrice(s.spot, ratio));
  const store::KeyLevels& l = s.levels;
  Level(w, "call_wall", l.callWall, ratio);
  Level(w, "put_wall", l.putWall, ratio);
  Level(w, "gamma_flip", l.gammaFlip, ratio);
  Level(w, "vol_trigger", l.volTrigger, ratio);
  Level(w, "max_pain", l.maxPain, ratio);
  w.Key("net_gex");  // dollars, whole ones as the levels answers give them
  w.Number(std::round(s.netGex));
  w.Key("net_dex");
  w.Number(std::round(s.netDex));
  w.EndObject();
}

std::string HistoryNote(const ResearchDay& d, size_t kept) {
  const std::string prices =
      d.mapped ? d.future + " points at each capture's own ratio" : d.source + " prices";
  const size_t count = d.captures.size();
  if (count == 0) return "No stored capture of " + d.source + " on " + d.day + ".";
  if (kept == count) {
    return text::Format("Every stored capture of %s on %s, oldest first; levels in %s.", d.source, d.day,
                        prices);
  }
  return text::Format(
      "%zu of the %zu stored captures of %s on %s, oldest first, spread evenly over the day "
      "with its first, its session's first from 09:30 and its latest kept; levels in %s.",
      kept, count, d.source, d.day, prices);
}

void WriteHistory(jsonout::JsonWriter& w, const ResearchDay& d, size_t rowLimit) {
  const size_t open = FirstAtOrAfter(d.captures, d.open);
  const std::vector<size_t> kept = SpreadOverDay(d.captures.size(), rowLimit, open);
  w.Key("history");
  w.BeginObject();
  w.Key("rows");
  w.BeginArray();
  for (const size_t i : kept) WriteRow(w, d, d.captures[i]);
  w.EndArray();
  w.Key("excluded");
  w.Int(static_cast<long long>(d.captures.size() - kept.size()));
  w.Key("limit");
  w.Int(static_cast<long long>(rowLimit));
  Text(w, "note", HistoryNote(d, kept.size()));
  w.EndObject();
}

}  // namespace

std::string ResearchAnswerJson(const ResearchDay& d, size_t rowLimit) {
  std::string body;
  jsonout::JsonWriter w(&body, jsonout::JsonWriter::Layout::kCompact);
  w.BeginObject();
  w.Key("ok");
  w.Bool(true);
  Text(w, "symbol", d.symbol);
  Text(w, "day", d.day);
  Text(w, "source", d.source);
  Text(w, "generated_at", formats::UtcTimestampText(d.generatedAt));
  WriteHistory(w, d, rowLimit);
  WriteResearchBook(w, d.source, d.day, d.latest ? &*d.latest : nullptr);
  w.EndObject();
  return body;
}

FixtureAnswer AnswerResearch(const AnswerContext& c, const service::FixtureRequest& request) {
  const std::string symbol = ParamValue(request.params, "symbol");
  const std::string source = ParamValue(request.params, "source");
  const std::string day = ParamValue(request.params, "day");
  if (symbol.empty()) return Refusal(400, "missing_symbol", "The request names no symbol.");
  if (!service::IsIsoDate(day)) return Refusal(400, "invalid_day", "The day is a date YYYY-MM-DD.");
  const ServedSymbol served = FindResearchSymbol(*c.config, symbol, source);
  if (served.symbol == nullptr) {
    return Refusal(404, "symbol_not_supported",
                   "Research for " + symbol.substr(0, 32) + " reads the options of " +
                       ExpectedResearchSource(symbol, source).substr(0, 32) + ". " +
                       NotCarriedMessage(*c.config, symbol));
  }
  ResearchDay d{symbol,
                day,
                served.symbol->name,
                served.symbol->future,
                served.mapped,
                SessionOpen(*c.services, day),
                c.clock->Now(),
                {},
                {}};
  std::string error;
  bool read = c.store->DaySummaries(d.source, day, &d.captures, &error);
  if (read && !d.captures.empty()) read = c.store->ById(d.captures.back().id, &d.latest, &error);
  if (!read) {
    if (c.log) c.log("research of " + d.source + ": the capture history cannot be read: " + error);
    return Refusal(503, "store_unavailable",
                   "The capture history cannot be read; the service's log says why.");
  }
  FixtureAnswer answer;
  answer.body = ResearchAnswerJson(d, kResearchRowLimit);
  return answer;
}

}  // namespace live
