// The operations paths of the live service: /health (per symbol, how its captures fare, as JSON)
// and /metrics (the same and the requests served, as Prometheus text).
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "live/live_config.h"
#include "live/live_state.h"
#include "service/fixture_catalogue.h"

namespace live {

// Requests answered, by route and status. Safe from any thread.
class RequestCounts {
 public:
  using Counts = std::map<std::pair<std::string, int>, uint64_t>;
  // Counts one answer with `status` on `route` (one of a few fixed names, so the series stay few).
  void Add(std::string_view route, int status);
  Counts Snapshot() const;

 private:
  mutable std::mutex mutex_;
  Counts counts_;
};

// The /health answer at `nowSeconds`: "ok" and per configured symbol its "status" ("waiting"
// before its first attempt, "ok" when its last attempt succeeded, else "failing"), the time and
// age of its last success and of its latest capture, its last error, its next attempt and its
// counts. 200 when no symbol is failing, else 503, so a plain HTTP check sees it.
service::FixtureAnswer AnswerHealth(const LiveConfig& config, const std::vector<SymbolStatus>& statuses,
                                    double nowSeconds);

// The /metrics answer at `nowSeconds` (Prometheus text format 0.0.4): per symbol the captures,
// unchanged fetches, failures, fetch and compute seconds, consecutive failures and the time and
// age of the last success; then the requests by route and status.
service::FixtureAnswer AnswerMetrics(const std::vector<SymbolStatus>& statuses,
                                     const RequestCounts::Counts& requests, double nowSeconds);

}  // namespace live
