#include "live/live_history.h"

#include <cmath>
#include <limits>
#include <optional>

#include "calendar/new_york_calendar.h"
#include "jsonout/json_writer.h"
#include "live/day_captures.h"
#include "live/locked_capture.h"
#include "live/served_symbols.h"
#include "service/expiry_request.h"

namespace live {
namespace {

using service::FixtureAnswer;
using service::ParamValue;

constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();  // written as null

using LevelOf = std::optional<double> store::KeyLevels::*;

constexpr std::pair<const char*, LevelOf> kLevels[] = {
    {"call_wall", &store::KeyLevels::callWall},    {"put_wall", &store::KeyLevels::putWall},
    {"gamma_flip", &store::KeyLevels::gammaFlip},  {"vol_trigger", &store::KeyLevels::volTrigger},
    {"max_pain", &store::KeyLevels::maxPain},      {"zero_gamma", &store::KeyLevels::zeroGamma},
    {"zero_dex", &store::KeyLevels::zeroDex},      {"call_oi_wall", &store::KeyLevels::callOiWall},
    {"put_oi_wall", &store::KeyLevels::putOiWall},
};

// Writes member `key` as the list of `value(capture)` over the kept captures.
template <typename Value>
void Series(jsonout::JsonWriter& w, const char* key, const HistoryDay& d, const std::vector<size_t>& kept,
            Value value) {
  w.Key(key);
  w.BeginArray();
  for (const size_t i : kept) w.Number(value(d.captures[i]));
  w.EndArray();
}

}  // namespace

bool ReadHistoryDay(const AnswerContext& c, const service::FixtureRequest& request, HistoryDay* out,
                    FixtureAnswer* refusal) {
  out->symbol = ParamValue(request.params, "symbol");
  out->day = ParamValue(request.params, "day");
  if (out->day.empty()) out->day = calendar::NewYorkToday(*c.services, c.clock->Now());
  if (out->symbol.empty()) {
    *refusal = Refusal(400, "missing_symbol", "The request names no symbol.");
    return false;
  }
  if (!service::IsIsoDate(out->day)) {
    *refusal = Refusal(400, "invalid_day", "The day is a date YYYY-MM-DD.");
    return false;
  }
  const ServedSymbol served = FindServedSymbol(*c.config, out->symbol, ParamValue(request.params, "source"));
  if (served.symbol == nullptr) {
    *refusal = Refusal(404, "symbol_not_supported", NotCarriedMessage(*c.config, out->symbol));
    return false;
  }
  out->source = served.symbol->name;
  out->mapped = served.mapped;
  out->open = SessionOpen(*c.services, out->day);
  std::string error;
  if (!c.store->DaySummaries(out->source, out->day, &out->captures, &error)) {
    if (c.log) c.log("history of " + out->source + ": the capture history cannot be read: " + error);
    *refusal =
        Refusal(503, "store_unavailable", "The capture history cannot be read; the service's log says why.");
    return false;
  }
  return true;
}

void WriteHistoryIdentity(jsonout::JsonWriter& w, const HistoryDay& d) {
  w.Key("ok");
  w.Bool(true);
  for (const auto& [key, value] :
       {std::pair{"symbol", &d.symbol}, std::pair{"source", &d.source}, std::pair{"day", &d.day}}) {
    w.Key(key);
    w.String(*value);
  }
  w.Key("conversion_method");
  w.String(ConversionMethod(d.mapped));
  w.Key("captures");
  w.Int(static_cast<long long>(d.captures.size()));
}

std::string HistoryJson(const HistoryDay& d, size_t limit) {
  const std::vector<size_t> kept =
      SpreadOverDay(d.captures.size(), limit, FirstAtOrAfter(d.captures, d.open));
  std::string body;
  jsonout::JsonWriter w(&body, jsonout::JsonWriter::Layout::kCompact);
  w.BeginObject();
  WriteHistoryIdentity(w, d);
  w.Key("limit");
  w.Int(static_cast<long long>(limit));
  w.Key("excluded");
  w.Int(static_cast<long long>(d.captures.size() - kept.size()));
  Series(w, "times", d, kept, [](const store::CaptureSummary& s) { return static_cast<double>(s.asOf); });
  w.Key("series");
  w.BeginObject();
  Series(w, "spot", d, kept,
         [&](const store::CaptureSummary& s) { return ShownPrice(s.spot, ShownRatio(s, d.mapped)); });
  for (const auto& [key, level] : kLevels) {
    Series(w, key, d, kept, [&, level = level](const store::CaptureSummary& s) {
      const std::optional<double>& v = s.levels.*level;
      return v ? ShownPrice(*v, ShownRatio(s, d.mapped)) : kAbsent;
    });
  }
  Series(w, "conversion_ratio", d, kept,
         [&](const store::CaptureSummary& s) { return ShownRatio(s, d.mapped); });
  Series(w, "net_gex", d, kept, [](const store::CaptureSummary& s) { return std::round(s.netGex); });
  Series(w, "net_dex", d, kept, [](const store::CaptureSummary& s) { return std::round(s.netDex); });
  w.EndObject();
  w.EndObject();
  return body;
}

FixtureAnswer AnswerHistory(const AnswerContext& c, const service::FixtureRequest& request) {
  HistoryDay day;
  FixtureAnswer answer;
  if (!ReadHistoryDay(c, request, &day, &answer)) return answer;
  answer.body = HistoryJson(day, kHistoryPointLimit);
  return answer;
}

}  // namespace live
