#include "engine/expiry_exposures.h"

#include <algorithm>

#include "engine/strike_exposures.h"

namespace engine {

std::vector<ExpiryExposure> ExposuresByStrikeAndExpiry(const PricedChain& chain) {
  // The same stable order as ExposuresByStrike within a strike, so that the sums over an
  // expiration add the contracts in the order the per-strike totals do.
  std::vector<const PricedContract*> order;
  order.reserve(chain.contracts.size());
  for (const PricedContract& c : chain.contracts) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const PricedContract* a, const PricedContract* b) {
    return a->strike != b->strike ? a->strike < b->strike : a->expiry < b->expiry;
  });
  const double spot = chain.market.spot;
  std::vector<ExpiryExposure> out;
  for (const PricedContract* c : order) {
    if (out.empty() || out.back().strike != c->strike || out.back().expiry != c->expiry) {
      out.push_back({c->strike, c->expiry, 0, 0, 0, 0});
    }
    const Exposure e = ExposureOf(*c, spot, c->openInterest);
    ExpiryExposure& row = out.back();
    row.gex += e.gex;
    row.dex += e.dex;
    row.vanna += e.vanna;
    row.charm += e.charm;
  }
  return out;
}

}  // namespace engine
