#include "live/live_state.h"

namespace live {

LiveState::LiveState(const std::vector<std::string>& symbols) {
  for (const std::string& symbol : symbols) {
    SymbolStatus status;
    status.symbol = symbol;
    statuses_.push_back(std::move(status));
  }
}

bool LiveState::Update(std::string_view symbol, const std::function<void(SymbolStatus&)>& change) {
  std::lock_guard lock(mutex_);
  for (SymbolStatus& status : statuses_) {
    if (status.symbol != symbol) continue;
    const int64_t before = status.latestCaptureId;
    change(status);
    status.symbol = std::string(symbol);
    if (status.latestCaptureId != before) ++generation_;
    return true;
  }
  return false;
}

std::vector<SymbolStatus> LiveState::Snapshot() const {
  std::lock_guard lock(mutex_);
  return statuses_;
}

std::optional<SymbolStatus> LiveState::Of(std::string_view symbol) const {
  std::lock_guard lock(mutex_);
  for (const SymbolStatus& status : statuses_) {
    if (status.symbol == symbol) return status;
  }
  return std::nullopt;
}

std::vector<std::string> LiveState::Symbols() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> symbols;
  for (const SymbolStatus& status : statuses_) symbols.push_back(status.symbol);
  return symbols;
}

uint64_t LiveState::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

}  // namespace live
