// What the capture side of the live service knows and the answering side reports: per symbol,
// the latest capture and how its sources fare. The capture workers write it, requests read it;
// every member is safe from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace live {

struct SymbolStatus {
  std::string symbol;            // as configured, "QQQ"
  int64_t latestCaptureId = 0;   // 0: none yet, in the store or this run
  double latestCaptureAsOf = 0;  // its chain time, seconds since 1970 UTC
  double lastSuccessAt = 0;      // when a fetch last ended in a usable chain (new or unchanged)
  double lastAttemptAt = 0;
  double nextAttemptAt = 0;
  std::string lastError;  // empty after a success; control characters already replaced
  double lastErrorAt = 0;
  int consecutiveFailures = 0;
  uint64_t captures = 0;   // added to the store in this run
  uint64_t unchanged = 0;  // fetches that brought the chain already stored
  uint64_t failures = 0;
  double fetchSeconds = 0;  // totals over this run, for the metrics
  double computeSeconds = 0;
};

// The statuses of the configured symbols.
class LiveState {
 public:
  // One status per symbol, in the order given, all empty.
  explicit LiveState(const std::vector<std::string>& symbols);

  // Applies `change` to the status of `symbol` under the state's lock and moves the generation on
  // when the latest capture changed. False, changing nothing, for a symbol not configured.
  bool Update(std::string_view symbol, const std::function<void(SymbolStatus&)>& change);

  // A copy of every status, in configuration order.
  std::vector<SymbolStatus> Snapshot() const;
  // A copy of one status; empty for a symbol not configured.
  std::optional<SymbolStatus> Of(std::string_view symbol) const;
  // The configured symbols, in configuration order.
  std::vector<std::string> Symbols() const;
  // Moves on whenever any symbol's latest capture changes: answers cached at one generation are
  // good until the next.
  uint64_t Generation() const;

 private:
  mutable std::mutex mutex_;
  std::vector<SymbolStatus> statuses_;
  uint64_t generation_ = 0;
};

}  // namespace live
