#include "payload/strike_table.h"

#include <algorithm>
#include <cmath>

namespace payload {

StrikeTable::StrikeTable(std::vector<StrikeValue> pairs) : pairs_(std::move(pairs)) {
  byStrike_.reserve(pairs_.size());
  for (uint32_t i = 0; i < pairs_.size(); ++i) {
    if (std::isfinite(pairs_[i].strike)) byStrike_.push_back(i);
  }
  std::stable_sort(byStrike_.begin(), byStrike_.end(),
                   [this](uint32_t a, uint32_t b) { return pairs_[a].strike < pairs_[b].strike; });
}

const StrikeValue* StrikeTable::FindNear(double price, double tolerance) const {
  if (!std::isfinite(price) || !(tolerance > 0)) return nullptr;
  // The window is widened so that rounding in price +/- tolerance can only add candidates;
  // each candidate is then held to the exact test.
  const double low = price - 2 * tolerance;
  const double high = price + 2 * tolerance;
  auto it = std::lower_bound(byStrike_.begin(), byStrike_.end(), low,
                             [this](uint32_t i, double bound) { return pairs_[i].strike < bound; });
  const StrikeValue* first = nullptr;
  uint32_t firstPosition = 0;
  for (; it != byStrike_.end() && pairs_[*it].strike <= high; ++it) {
    const StrikeValue& pair = pairs_[*it];
    if (!(std::fabs(pair.strike - price) < tolerance)) continue;
    if (first == nullptr || *it < firstPosition) {
      first = &pair;
      firstPosition = *it;
    }
  }
  return first;
}

}  // namespace payload
