#include "cli/history_fetch.h"

#include <chrono>
#include <cmath>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"
#include "live/http_fetch.h"
#include "study/call_inputs.h"
#include "study/symbol_resolution.h"
#include "text/format.h"

namespace cli {
namespace {

// The time of the chart's last bar that has one; NaN when none has.
double LastBarTime(const chart::ChartData& chart) {
  for (auto it = chart.bars.rbegin(); it != chart.bars.rend(); ++it) {
    if (chart::HasTime(*it)) return it->time;
  }
  return NAN;
}

// Reads one path's answer with `read`; the part of the status line it gives.
template <typename Answer, typename Read>
std::string FetchPart(const std::string& url, const char* path, const HistoryGet& get, Read read, Answer* out,
                      bool* got) {
  std::string body;
  std::string error;
  if (!get(url, &body, &error)) return text::Format("%s: %s", path, error);
  if (!read(body, out, &error)) return text::Format("%s: unreadable answer: %s", path, error);
  *got = true;
  return "";
}

}  // namespace

bool HistorySourceOf(const chart::ChartHost& host, platform::Services& zone, HistorySource* out,
                     std::string* why) {
  const double last = LastBarTime(host.Chart());
  if (!std::isfinite(last)) {
    *why = "the chart's bars have no times";
    return false;
  }
  const study::CallInputs in = study::BuildCallInputs(study::ReadInputValues(host), "");
  HistorySource source;
  source.symbol = study::ApiSymbolFromRequest(in.requestedSymbolIndex, host.Chart().symbol);
  if (source.symbol.empty()) {
    *why = "the chart's symbol '" + host.Chart().symbol + "' is not one the study knows";
    return false;
  }
  source.levelsOrigin = in.levelsOrigin;
  source.day = calendar::NewYorkToday(zone, last);
  const double midnight = calendar::IsoDateToEpochSeconds(source.day);
  const platform::CivilDate date = platform::UtcCivilDate(midnight);
  source.dayEnd = calendar::NewYorkWallClockToUtc(zone, date.year, date.month, date.day + 1, 0);
  *out = std::move(source);
  return true;
}

std::string HistoryUrl(const HistorySource& source, const char* path,
                       const std::vector<transport::OriginRoute>& routes) {
  // The symbol is one of the study's ten and the day is digits and dashes: nothing to escape.
  return transport::RouteUrl(routes,
                             source.levelsOrigin + path + "?symbol=" + source.symbol + "&day=" + source.day);
}

std::string FetchDayHistory(const HistorySource& source, const std::vector<transport::OriginRoute>& routes,
                            const HistoryGet& get, chart::DayHistory* out) {
  chart::DayHistory day;
  day.day = source.day;
  day.dayEnd = source.dayEnd;
  const std::string levels = FetchPart(HistoryUrl(source, "/history", routes), "/history", get,
                                       chart::ReadLevelHistory, &day.levels, &day.hasLevels);
  const std::string strikes = FetchPart(HistoryUrl(source, "/history/strikes", routes), "/history/strikes",
                                        get, chart::ReadStrikeMatrix, &day.strikes, &day.hasStrikes);
  std::string status = text::Format("history of %s on %s: ", source.symbol, source.day);
  std::vector<std::string> parts;
  if (day.hasLevels) parts.push_back(text::Format("%zu captures", day.levels.times.size()));
  if (day.hasStrikes) {
    parts.push_back(text::Format("GEX of %zu strikes at %zu times", day.strikes.strikes.size(),
                                 day.strikes.times.size()));
  }
  for (const std::string* failed : {&levels, &strikes}) {
    if (!failed->empty()) parts.push_back("none from " + *failed);
  }
  for (size_t i = 0; i < parts.size(); ++i) status += (i > 0 ? "; " : "") + parts[i];
  *out = std::move(day);
  return status;
}

HistoryGet BoundedGet(const live::StopSignal& stop) {
  return [&stop](const std::string& url, std::string* body, std::string* error) {
    live::HttpFetchRequest request;
    request.url = url;
    request.timeoutSeconds = kHistoryTimeoutSeconds;
    request.maxBodyBytes = kMaxHistoryAnswerBytes;
    return live::HttpFetch(request, stop, body, error) == live::FetchStatus::kFetched;
  };
}

HistoryFetcher::HistoryFetcher(std::vector<transport::OriginRoute> routes, HistoryGet get)
    : routes_(std::move(routes)),
      get_(get ? std::move(get) : BoundedGet(stop_)),
      thread_([this] { Run(); }) {}

HistoryFetcher::~HistoryFetcher() {
  stop_.Request();
  // Taken once, so that the thread is either waiting (and woken) or sees the signal raised.
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
  thread_.join();
}

void HistoryFetcher::Request(const HistorySource& source) {
  {
    std::lock_guard lock(mutex_);
    next_ = source;
    pending_ = true;
  }
  changed_.notify_all();
}

HistoryResult HistoryFetcher::Latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

bool HistoryFetcher::WaitBeyond(long long serial, double seconds) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::duration<double>(seconds),
                           [&] { return latest_.serial > serial; });
}

void HistoryFetcher::Run() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [&] { return pending_ || stop_.Requested(); });
    if (stop_.Requested()) return;
    const HistorySource source = next_;
    pending_ = false;
    lock.unlock();
    auto day = std::make_shared<chart::DayHistory>();
    std::string status = FetchDayHistory(source, routes_, get_, day.get());
    lock.lock();
    latest_ = {source, std::move(day), std::move(status), latest_.serial + 1};
    changed_.notify_all();
  }
}

}  // namespace cli
