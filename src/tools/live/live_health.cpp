#include "live/live_health.h"

#include <cmath>
#include <limits>

#include "formats/typed_time.h"
#include "jsonout/json_writer.h"
#include "text/format.h"

namespace live {
namespace {

constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();  // written as null

const char* StatusOf(const SymbolStatus& s) {
  if (s.lastAttemptAt <= 0) return "waiting";
  return s.consecutiveFailures == 0 ? "ok" : "failing";
}

const SymbolConfig* ConfigOf(const LiveConfig& config, const std::string& name) {
  for (const SymbolConfig& s : config.symbols) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

// A time as UTC text, or null when it never happened.
void Time(jsonout::JsonWriter& w, const char* key, double seconds) {
  w.Key(key);
  if (seconds > 0) {
    w.String(formats::UtcTimestampText(seconds));
  } else {
    w.Null();
  }
}

void Age(jsonout::JsonWriter& w, const char* key, double seconds, double now) {
  w.Key(key);
  w.Number(seconds > 0 ? std::round((now - seconds) * 1000) / 1000 : kAbsent);
}

void WriteSymbol(jsonout::JsonWriter& w, const LiveConfig& config, const SymbolStatus& s, double now) {
  const SymbolConfig* configured = ConfigOf(config, s.symbol);
  w.BeginObject();
  w.Key("symbol");
  w.String(s.symbol);
  w.Key("future");
  w.String(configured == nullptr ? "" : configured->future);
  w.Key("status");
  w.String(StatusOf(s));
  Time(w, "last_success_at", s.lastSuccessAt);
  Age(w, "last_success_age_seconds", s.lastSuccessAt, now);
  w.Key("latest_capture_id");
  w.Int(s.latestCaptureId);
  Time(w, "latest_capture_as_of", s.latestCaptureAsOf);
  Age(w, "latest_capture_age_seconds", s.latestCaptureAsOf, now);
  Time(w, "last_attempt_at", s.lastAttemptAt);
  Time(w, "next_attempt_at", s.nextAttemptAt);
  w.Key("last_error");
  w.String(s.lastError);
  Time(w, "last_error_at", s.lastErrorAt);
  w.Key("consecutive_failures");
  w.Int(s.consecutiveFailures);
  for (const auto& [key, count] : {std::pair{"captures", s.captures}, std::pair{"unchanged", s.unchanged},
                                   std::pair{"failures", s.failures}}) {
    w.Key(key);
    w.Int(static_cast<long long>(count));
  }
  w.EndObject();
}

// Prometheus label values: backslash, quote and line feed escaped.
std::string Label(std::string_view value) {
  std::string out;
  for (const char c : value) {
    if (c == '\\' || c == '"') out += '\\';
    out += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out;
}

void Family(std::string& out, const char* name, const char* type, const char* help) {
  out += text::Format("# HELP %s %s\n# TYPE %s %s\n", name, help, name, type);
}

// One series per symbol; a value that is NaN (a time that never came) is left out.
struct SymbolMetric {
  const char* name;
  const char* type;
  const char* help;
  double (*value)(const SymbolStatus& s, double now);
};

constexpr SymbolMetric kSymbolMetrics[] = {
    {"ordinel_live_captures_total", "counter", "Captures added to the store by this run.",
     [](const SymbolStatus& s, double) { return static_cast<double>(s.captures); }},
    {"ordinel_live_unchanged_total", "counter", "Fetches that brought the chain stored last.",
     [](const SymbolStatus& s, double) { return static_cast<double>(s.unchanged); }},
    {"ordinel_live_failures_total", "counter", "Capture attempts that failed.",
     [](const SymbolStatus& s, double) { return static_cast<double>(s.failures); }},
    {"ordinel_live_fetch_seconds_total", "counter", "Seconds spent fetching chains.",
     [](const SymbolStatus& s, double) { return s.fetchSeconds; }},
    {"ordinel_live_compute_seconds_total", "counter", "Seconds spent computing captures.",
     [](const SymbolStatus& s, double) { return s.computeSeconds; }},
    {"ordinel_live_consecutive_failures", "gauge", "Failed attempts since the last success.",
     [](const SymbolStatus& s, double) { return static_cast<double>(s.consecutiveFailures); }},
    {"ordinel_live_last_success_timestamp_seconds", "gauge", "When a fetch last ended in a usable chain.",
     [](const SymbolStatus& s, double) { return s.lastSuccessAt > 0 ? s.lastSuccessAt : kAbsent; }},
    {"ordinel_live_last_success_age_seconds", "gauge", "Seconds since the last success.",
     [](const SymbolStatus& s, double now) { return s.lastSuccessAt > 0 ? now - s.lastSuccessAt : kAbsent; }},
};

}  // namespace

void RequestCounts::Add(std::string_view route, int status) {
  std::lock_guard lock(mutex_);
  ++counts_[{std::string(route), status}];
}

RequestCounts::Counts RequestCounts::Snapshot() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

service::FixtureAnswer AnswerHealth(const LiveConfig& config, const std::vector<SymbolStatus>& statuses,
                                    double now) {
  bool ok = true;
  for (const SymbolStatus& s : statuses) ok = ok && std::string_view(StatusOf(s)) != "failing";
  service::FixtureAnswer answer;
  answer.status = ok ? 200 : 503;
  jsonout::JsonWriter w(&answer.body, jsonout::JsonWriter::Layout::kPretty);
  w.BeginObject();
  w.Key("ok");
  w.Bool(ok);
  Time(w, "now", now);
  w.Key("symbols");
  w.BeginArray();
  for (const SymbolStatus& s : statuses) WriteSymbol(w, config, s, now);
  w.EndArray();
  w.EndObject();
  answer.body += '\n';
  return answer;
}

service::FixtureAnswer AnswerMetrics(const std::vector<SymbolStatus>& statuses,
                                     const RequestCounts::Counts& requests, double now) {
  service::FixtureAnswer answer;
  answer.contentType = "text/plain; version=0.0.4; charset=utf-8";
  std::string& out = answer.body;
  for (const SymbolMetric& m : kSymbolMetrics) {
    Family(out, m.name, m.type, m.help);
    for (const SymbolStatus& s : statuses) {
      const double v = m.value(s, now);
      if (!std::isnan(v)) out += text::Format("%s{symbol=\"%s\"} %.15g\n", m.name, Label(s.symbol), v);
    }
  }
  Family(out, "ordinel_live_requests_total", "counter", "Requests answered, by path and status.");
  for (const auto& [key, count] : requests) {
    out += text::Format("ordinel_live_requests_total{path=\"%s\",status=\"%d\"} %llu\n", Label(key.first),
                        key.second, static_cast<unsigned long long>(count));
  }
  return answer;
}

}  // namespace live
