#include "engine/max_pain.h"

#include <algorithm>
#include <cmath>

namespace engine {

double HoldersPayout(const std::vector<PricedContract>& contracts, int expiry, double price) {
  double payout = 0;
  for (const PricedContract& c : contracts) {
    if (c.expiry != expiry) continue;
    payout += c.openInterest * (c.isCall ? std::max(price - c.strike, 0.0) : std::max(c.strike - price, 0.0));
  }
  return payout;
}

Level MaxPain(const std::vector<PricedContract>& contracts, int expiry, double spot) {
  struct Row {
    double strike = 0, callOi = 0, putOi = 0;
  };
  std::vector<Row> rows;
  double totalOi = 0;
  for (const PricedContract& c : contracts) {
    if (c.expiry != expiry) continue;
    rows.push_back({c.strike, c.isCall ? c.openInterest : 0, c.isCall ? 0 : c.openInterest});
    totalOi += c.openInterest;
  }
  if (totalOi <= 0) return {};
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.strike < b.strike; });
  // Calls at or below the candidate pay price x OI - strike x OI; puts above it pay
  // strike x OI - price x OI. Both sums move by one row per step.
  double putOiAbove = 0, putStrikeOiAbove = 0;
  for (const Row& r : rows) {
    putOiAbove += r.putOi;
    putStrikeOiAbove += r.putOi * r.strike;
  }
  double callOiBelow = 0, callStrikeOiBelow = 0;
  Level best;
  double bestPayout = 0;
  for (size_t i = 0; i < rows.size();) {
    const double price = rows[i].strike;
    for (; i < rows.size() && rows[i].strike == price; ++i) {
      callOiBelow += rows[i].callOi;
      callStrikeOiBelow += rows[i].callOi * rows[i].strike;
      putOiAbove -= rows[i].putOi;
      putStrikeOiAbove -= rows[i].putOi * rows[i].strike;
    }
    const double payout = (price * callOiBelow - callStrikeOiBelow) + (putStrikeOiAbove - price * putOiAbove);
    const bool better = !best.has || payout < bestPayout ||
                        (payout == bestPayout && std::fabs(price - spot) < std::fabs(best.value - spot));
    if (better) {
      best = {true, price};
      bestPayout = payout;
    }
  }
  return best;
}

}  // namespace engine
