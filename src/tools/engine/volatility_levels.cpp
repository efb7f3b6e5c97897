#include "engine/volatility_levels.h"

#include <cmath>
#include <map>

#include "engine/black_scholes.h"

namespace engine {

Level AtTheMoneyVolatility(const PricedChain& chain, int expiry) {
  struct Mean {
    double sum = 0;
    int count = 0;
  };
  std::map<double, Mean> byStrike;
  for (const PricedContract& c : chain.contracts) {
    if (c.expiry != expiry) continue;
    Mean& m = byStrike[c.strike];
    m.sum += c.sigma;
    ++m.count;
  }
  if (byStrike.empty()) return {};
  const double spot = chain.market.spot;
  auto above = byStrike.lower_bound(spot);
  auto vol = [](const Mean& m) { return m.sum / m.count; };
  if (above == byStrike.end()) return {true, vol(std::prev(above)->second)};
  if (above == byStrike.begin() || above->first == spot) return {true, vol(above->second)};
  const auto below = std::prev(above);
  const double t = (spot - below->first) / (above->first - below->first);
  return {true, vol(below->second) + t * (vol(above->second) - vol(below->second))};
}

double TouchProbability(double spot, double level, double sigma, double years, double rate, double dividend) {
  if (level == spot) return 1;
  // ln(price / spot) is Brownian motion with drift mu and volatility sigma; the first passage
  // through b follows the reflection formula.
  const double mu = rate - dividend - 0.5 * sigma * sigma;
  const double b = std::log(level / spot);
  const double s = sigma * std::sqrt(years);
  const double exponent = 2.0 * mu * b / (sigma * sigma);
  const double direct = b > 0 ? NormalCdf((-b + mu * years) / s) : NormalCdf((b - mu * years) / s);
  const double mirrored = b > 0 ? NormalCdf((-b - mu * years) / s) : NormalCdf((b + mu * years) / s);
  // exp(exponent) may overflow where the mirrored tail underflows: multiply in logarithms.
  const double reflected = mirrored > 0 ? std::exp(exponent + std::log(mirrored)) : 0.0;
  return std::fmin(std::fmax(direct + reflected, 0.0), 1.0);
}

double HorizonQuantile(double spot, double sigma, double years, double rate, double dividend, double z) {
  const double mu = rate - dividend - 0.5 * sigma * sigma;
  return spot * std::exp(mu * years + z * sigma * std::sqrt(years));
}

}  // namespace engine
