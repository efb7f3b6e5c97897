#include "live/strike_history.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "jsonout/json_writer.h"
#include "live/day_captures.h"

namespace live {
namespace {

constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();  // written as null

// The `limit` strikes nearest `spot` among those any capture has, ascending; ties go to the
// lower strike.
std::vector<double> StrikesNear(const std::vector<store::CaptureExposures>& exposures, double spot,
                                size_t limit) {
  std::set<double> all;
  for (const store::CaptureExposures& c : exposures) {
    for (const store::StrikeExposure& e : c.exposures) all.insert(e.strike);
  }
  std::vector<double> strikes(all.begin(), all.end());
  const auto nearer = [spot](double a, double b) {
    const double da = std::fabs(a - spot), db = std::fabs(b - spot);
    return da != db ? da < db : a < b;
  };
  if (strikes.size() > limit) {
    std::nth_element(strikes.begin(), strikes.begin() + static_cast<std::ptrdiff_t>(limit), strikes.end(),
                     nearer);
    strikes.resize(limit);
  }
  std::sort(strikes.begin(), strikes.end());
  return strikes;
}

double RatioOf(const HistoryDay& d, int64_t id) {
  for (const store::CaptureSummary& s : d.captures) {
    if (s.id == id) return ShownRatio(s, d.mapped);
  }
  return kAbsent;  // pruned between the two reads
}

void Numbers(jsonout::JsonWriter& w, const char* key, const std::vector<double>& values) {
  w.Key(key);
  w.BeginArray();
  for (const double v : values) w.Number(v);
  w.EndArray();
}

void WriteMatrix(jsonout::JsonWriter& w, const std::vector<store::CaptureExposures>& exposures,
                 const std::vector<double>& strikes) {
  w.Key("net_gex");
  w.BeginArray();
  for (const store::CaptureExposures& c : exposures) {
    std::map<double, double> net;
    for (const store::StrikeExposure& e : c.exposures) {
      if (std::binary_search(strikes.begin(), strikes.end(), e.strike)) net[e.strike] += e.gex;
    }
    w.BeginArray();
    for (const double strike : strikes) {
      const auto found = net.find(strike);
      w.Number(found == net.end() ? kAbsent : std::round(found->second));
    }
    w.EndArray();
  }
  w.EndArray();
}

}  // namespace

std::string StrikeHistoryJson(const HistoryDay& d, const std::vector<store::CaptureExposures>& exposures,
                              size_t strikeLimit) {
  const double spot = d.captures.empty() ? 0 : d.captures.back().spot;
  const std::vector<double> strikes = StrikesNear(exposures, spot, strikeLimit);
  std::vector<double> times, ratios;
  for (const store::CaptureExposures& c : exposures) {
    times.push_back(static_cast<double>(c.asOf));
    ratios.push_back(RatioOf(d, c.id));
  }
  const double latestRatio = d.captures.empty() ? 1 : ShownRatio(d.captures.back(), d.mapped);
  std::vector<double> shown;
  for (const double k : strikes) shown.push_back(ShownPrice(k, latestRatio));

  std::string body;
  jsonout::JsonWriter w(&body, jsonout::JsonWriter::Layout::kCompact);
  w.BeginObject();
  WriteHistoryIdentity(w, d);
  Numbers(w, "times", times);
  Numbers(w, "ratios", ratios);
  Numbers(w, "underlying_strikes", strikes);
  Numbers(w, "strikes", shown);
  WriteMatrix(w, exposures, strikes);
  w.EndObject();
  return body;
}

service::FixtureAnswer AnswerStrikeHistory(const AnswerContext& c, const service::FixtureRequest& request) {
  HistoryDay day;
  service::FixtureAnswer answer;
  if (!ReadHistoryDay(c, request, &day, &answer)) return answer;
  std::vector<store::CaptureExposures> exposures;
  std::string error;
  if (!c.store->DayExposures(day.source, day.day, kStrikeTimeLimit, &exposures, &error)) {
    if (c.log) c.log("strike history of " + day.source + ": the capture history cannot be read: " + error);
    return Refusal(503, "store_unavailable",
                   "The capture history cannot be read; the service's log says why.");
  }
  answer.body = StrikeHistoryJson(day, exposures, kStrikeColumnLimit);
  return answer;
}

}  // namespace live
