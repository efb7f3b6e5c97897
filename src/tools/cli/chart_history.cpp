#include "cli/chart_history.h"

#include "platform/posix/posix_services.h"

namespace cli {

ChartHistory::ChartHistory(bool on, std::vector<transport::OriginRoute> routes, HistoryGet get)
    : on_(on), fetcher_(std::move(routes), std::move(get)) {}

bool ChartHistory::Update(const chart::ChartHost& host, double now) {
  if (!on_) return false;
  const std::string before = status_;
  HistorySource source;
  std::string why;
  if (!HistorySourceOf(host, platform::DefaultServices(), &source, &why)) {
    // Bars without times get no history: nothing to ask for, nothing drawn from it.
    asked_.reset();
    day_.reset();
    status_ = "no history: " + why;
    return status_ != before;
  }
  if (!asked_ || !(*asked_ == source) || now - askedAt_ >= kHistoryRefreshSeconds) {
    if (!asked_ || !(*asked_ == source)) day_.reset();
    fetcher_.Request(source);
    asked_ = source;
    askedAt_ = now;
    if (!day_) status_ = "history of " + source.symbol + " on " + source.day + ": asking the levels service";
  }
  const HistoryResult latest = fetcher_.Latest();
  // A fetch for a source asked for before the current one is no history of this chart.
  if (latest.serial > seen_ && asked_ && latest.source == *asked_) {
    seen_ = latest.serial;
    day_ = latest.day;
    status_ = latest.status;
    return true;
  }
  return status_ != before;
}

bool ChartHistory::AwaitFetch(double seconds) { return fetcher_.WaitBeyond(seen_, seconds); }

std::optional<render::HistoryLayer> ChartHistory::Layer(const chart::ChartHost& host) const {
  if (!on_) return std::nullopt;
  return render::BuildHistoryLayer(host, day_.get());
}

}  // namespace cli
