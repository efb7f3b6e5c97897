#include "engine/priced_chain.h"

#include <algorithm>

#include "calendar/new_york_calendar.h"
#include "text/format.h"

namespace engine {
namespace {

constexpr double kCloseSecondsOfDay = 16 * 3600;

int DateField(const std::string& date, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) value = value * 10 + (date[i] - '0');
  return value;
}

}  // namespace

std::map<std::string, double> ExpiryCloses(const OptionChain& chain, platform::Services& services) {
  std::map<std::string, double> closes;
  for (const OptionContract& contract : chain.contracts) {
    if (closes.count(contract.expiration) > 0) continue;
    const std::string& d = contract.expiration;  // validated by the readers
    closes[d] = calendar::NewYorkWallClockToUtc(services, DateField(d, 0, 4), DateField(d, 5, 2),
                                                DateField(d, 8, 2), kCloseSecondsOfDay);
  }
  return closes;
}

std::vector<std::string> LiveExpirations(const OptionChain& chain,
                                         const std::map<std::string, double>& closes, double asOfSeconds,
                                         RowIssues* issues) {
  std::vector<std::string> live;
  for (const auto& [date, close] : closes) {
    if (close >= asOfSeconds) live.push_back(date);
  }
  for (const OptionContract& contract : chain.contracts) {
    if (closes.at(contract.expiration) < asOfSeconds) {
      issues->Add(text::Format("%s %s %g", contract.expiration,
                               contract.kind == OptionKind::kCall ? "call" : "put", contract.strike),
                  "expired before the as-of time");
    }
  }
  return live;
}

PricedChain PriceChain(const OptionChain& chain, const std::vector<std::string>& used,
                       const std::map<std::string, double>& closes, const MarketInputs& market) {
  PricedChain priced;
  priced.market = market;
  priced.expirations = used;
  for (const std::string& date : used) {
    priced.expiryYears.push_back(
        std::max((closes.at(date) - market.asOfSeconds) / kSecondsPerYear, kMinYears));
  }
  priced.contracts.reserve(chain.contracts.size());
  for (const OptionContract& contract : chain.contracts) {
    const auto it = std::lower_bound(used.begin(), used.end(), contract.expiration);
    if (it == used.end() || *it != contract.expiration) continue;
    PricedContract p;
    p.expiry = static_cast<int>(it - used.begin());
    p.strike = contract.strike;
    p.isCall = contract.kind == OptionKind::kCall;
    p.openInterest = contract.openInterest;
    p.volume = contract.volume;
    p.sigma = std::max(contract.impliedVol, kMinSigma);
    p.years = priced.expiryYears[p.expiry];
    p.greeks = BsmGreeks({market.spot, p.strike, p.years, market.rate, market.dividend, p.sigma, p.isCall});
    priced.contracts.push_back(p);
  }
  return priced;
}

}  // namespace engine
