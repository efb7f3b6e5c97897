#include "engine/strike_exposures.h"

#include <algorithm>

namespace engine {

Exposure ExposureOf(const PricedContract& c, double spot, double contracts) {
  const double dealerSign = c.isCall ? 1.0 : -1.0;
  const double units = contracts * kContractMultiplier;
  Exposure e;
  e.gex = dealerSign * c.greeks.gamma * units * spot * spot * 0.01;
  e.dex = c.greeks.delta * units * spot;
  e.vanna = dealerSign * c.greeks.vanna * units * spot * 0.01;
  e.charm = dealerSign * c.greeks.charm * units * spot / 365.0;
  e.vega = dealerSign * c.greeks.vega * units * 0.01;
  return e;
}

std::vector<StrikeRow> ExposuresByStrike(const PricedChain& chain) {
  std::vector<const PricedContract*> order;
  order.reserve(chain.contracts.size());
  for (const PricedContract& c : chain.contracts) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](const PricedContract* a, const PricedContract* b) { return a->strike < b->strike; });
  const double spot = chain.market.spot;
  std::vector<StrikeRow> rows;
  for (const PricedContract* c : order) {
    if (rows.empty() || rows.back().strike != c->strike) {
      rows.emplace_back();
      rows.back().strike = c->strike;
      rows.back().gexByExpiry.assign(chain.expirations.size(), 0.0);
    }
    StrikeRow& row = rows.back();
    const Exposure e = ExposureOf(*c, spot, c->openInterest);
    const double hybridGex = ExposureOf(*c, spot, c->openInterest + c->volume).gex;
    (c->isCall ? row.callGex : row.putGex) += e.gex;
    (c->isCall ? row.callHybridGex : row.putHybridGex) += hybridGex;
    (c->isCall ? row.callOi : row.putOi) += c->openInterest;
    (c->isCall ? row.callIvOi : row.putIvOi) += c->sigma * c->openInterest;
    row.netGex += e.gex;
    row.dex += e.dex;
    row.vanna += e.vanna;
    row.charm += e.charm;
    row.vega += e.vega;
    row.volume += c->volume;
    row.gexByExpiry[c->expiry] += e.gex;
  }
  return rows;
}

std::vector<double> Strikes(const std::vector<StrikeRow>& rows) { return Field(rows, &StrikeRow::strike); }

std::vector<double> Field(const std::vector<StrikeRow>& rows, double StrikeRow::*field) {
  std::vector<double> out;
  out.reserve(rows.size());
  for (const StrikeRow& row : rows) out.push_back(row.*field);
  return out;
}

}  // namespace engine
