// The levels' past on a running chart: whether it is shown, the live service's history of the
// chart's day kept fresh by a HistoryFetcher, the status line saying what came, and the layer
// the renderer draws.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/chart_host.h"
#include "cli/history_fetch.h"
#include "render/history_layer.h"

namespace cli {

// Seconds after which the history of an unchanged day is asked for again.
inline constexpr double kHistoryRefreshSeconds = 60;

class ChartHistory {
 public:
  // Shown from the start when `on`. Requires: as for HistoryFetcher.
  ChartHistory(bool on, std::vector<transport::OriginRoute> routes, HistoryGet get = nullptr);

  bool On() const { return on_; }
  // Shows or hides the layer; the next Update asks for the history when it is shown.
  void SetOn(bool on) { on_ = on; }

  // While shown: asks for the chart's day when it (or the service or symbol) changed, or
  // kHistoryRefreshSeconds after the last time (`now`, any steady clock in seconds), and takes
  // a fetch that finished. Never waits. True when the status or the fetched day changed.
  bool Update(const chart::ChartHost& host, double now);
  // Waits up to `seconds` for the fetch the last Update asked for; true when it finished.
  bool AwaitFetch(double seconds);

  // What the chart shows of the past; nothing while hidden.
  std::optional<render::HistoryLayer> Layer(const chart::ChartHost& host) const;
  // What came of the last fetch, or why there is none; empty before the first Update.
  const std::string& Status() const { return status_; }

 private:
  bool on_;
  HistoryFetcher fetcher_;
  std::optional<HistorySource> asked_;
  double askedAt_ = 0;
  long long seen_ = 0;
  std::shared_ptr<const chart::DayHistory> day_;
  std::string status_;
};

}  // namespace cli
