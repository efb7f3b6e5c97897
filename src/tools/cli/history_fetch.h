// The live levels service's history of the chart's day, fetched for `ordinel chart
// --history-lines` and the page's toggle: which day and symbol to ask for, both history paths
// fetched and read on a thread of their own, so that no study call ever waits for them.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "chart/chart_host.h"
#include "chart/level_history.h"
#include "live/stop_signal.h"
#include "platform/services.h"
#include "transport/origin_route.h"

namespace cli {

// Seconds one history path may take, and the bytes its answer may hold.
inline constexpr double kHistoryTimeoutSeconds = 10;
inline constexpr size_t kMaxHistoryAnswerBytes = size_t{8} << 20;

// What to ask the service for.
struct HistorySource {
  std::string levelsOrigin;  // the study's "API base URL", without a trailing '/'
  std::string symbol;        // the study's API symbol
  std::string day;           // New York "YYYY-MM-DD"
  double dayEnd = 0;         // the next New York midnight
  bool operator==(const HistorySource&) const = default;
};

// The source for `host`'s chart: the study's "API base URL" and API symbol, and the New York day
// of the last bar with a time. False with `*why` when no bar has a time or the chart's symbol is
// not one the study knows.
bool HistorySourceOf(const chart::ChartHost& host, platform::Services& zone, HistorySource* out,
                     std::string* why);

// The URL of `path` ("/history" or "/history/strikes") for `source`, through `routes`.
std::string HistoryUrl(const HistorySource& source, const char* path,
                       const std::vector<transport::OriginRoute>& routes);

// One GET: the body of a 200 answer, else false with the reason.
using HistoryGet = std::function<bool(const std::string& url, std::string* body, std::string* error)>;

// Both paths of `source` through `get`, read into `*out` (each part only when its answer reads);
// returns the status line saying what came and what did not, and why.
std::string FetchDayHistory(const HistorySource& source, const std::vector<transport::OriginRoute>& routes,
                            const HistoryGet& get, chart::DayHistory* out);

// The GET the program uses: live::HttpFetch within kHistoryTimeoutSeconds and
// kMaxHistoryAnswerBytes, cut short by `stop`.
HistoryGet BoundedGet(const live::StopSignal& stop);

// A fetched day and its status line; `serial` counts the fetches finished (0: none yet).
struct HistoryResult {
  HistorySource source;
  std::shared_ptr<const chart::DayHistory> day;
  std::string status;
  long long serial = 0;
};

// Runs FetchDayHistory on its own thread for the latest source asked for.
class HistoryFetcher {
 public:
  // Requires: `get` may be called from the fetcher's thread; a null `get` takes BoundedGet.
  explicit HistoryFetcher(std::vector<transport::OriginRoute> routes, HistoryGet get = nullptr);
  // Cuts a fetch in flight short and joins the thread.
  ~HistoryFetcher();
  HistoryFetcher(const HistoryFetcher&) = delete;
  HistoryFetcher& operator=(const HistoryFetcher&) = delete;

  // Asks for `source`; returns at once. A fetch in flight finishes first; only the latest
  // source asked for meanwhile is fetched after it.
  void Request(const HistorySource& source);
  // The latest finished fetch.
  HistoryResult Latest() const;
  // Waits up to `seconds` until a fetch newer than `serial` has finished; true when one has.
  bool WaitBeyond(long long serial, double seconds) const;

 private:
  void Run();

  std::vector<transport::OriginRoute> routes_;
  live::StopSignal stop_;
  HistoryGet get_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool pending_ = false;
  HistorySource next_;
  HistoryResult latest_;
  std::thread thread_;
};

}  // namespace cli
