#include "engine/strike_levels.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace engine {
namespace {

// Linear crossing between strikes i and i + 1 of a series whose values there change sign.
StrikeCrossing CrossingBetween(const std::vector<double>& strikes, size_t i, double v0, double v1) {
  StrikeCrossing c;
  c.found = true;
  c.lowStrike = strikes[i];
  c.highStrike = strikes[i + 1];
  const double t = v0 / (v0 - v1);
  c.price = strikes[i] + (strikes[i + 1] - strikes[i]) * t;
  return c;
}

StrikeCrossing NearestCrossing(const std::vector<double>& strikes, const std::vector<double>& series,
                               double spot) {
  StrikeCrossing best;
  for (size_t i = 0; i + 1 < series.size(); ++i) {
    if ((series[i] < 0) == (series[i + 1] < 0)) continue;
    const StrikeCrossing c = CrossingBetween(strikes, i, series[i], series[i + 1]);
    if (!best.found || std::fabs(c.price - spot) < std::fabs(best.price - spot)) best = c;
  }
  return best;
}

}  // namespace

Level StrongestStrike(const std::vector<double>& strikes, const std::vector<double>& values, double spot) {
  Level best;
  double bestValue = 0;
  for (size_t i = 0; i < strikes.size(); ++i) {
    if (values[i] <= 0) continue;
    const bool better =
        !best.has || values[i] > bestValue ||
        (values[i] == bestValue && std::fabs(strikes[i] - spot) < std::fabs(best.value - spot));
    if (better) {
      best = {true, strikes[i]};
      bestValue = values[i];
    }
  }
  return best;
}

StrikeCrossing CumulativeCrossing(const std::vector<double>& strikes, const std::vector<double>& values,
                                  double spot) {
  std::vector<double> running(values.size());
  std::partial_sum(values.begin(), values.end(), running.begin());
  return NearestCrossing(strikes, running, spot);
}

StrikeCrossing LocalCrossing(const std::vector<double>& strikes, const std::vector<double>& values,
                             double spot) {
  return NearestCrossing(strikes, values, spot);
}

Level HighestNegativeBelow(const std::vector<double>& strikes, const std::vector<double>& values,
                           double reference) {
  for (size_t i = strikes.size(); i-- > 0;) {
    if (strikes[i] < reference && values[i] < 0) return {true, strikes[i]};
  }
  return {};
}

std::vector<RankedStrike> TopByMagnitude(const std::vector<double>& strikes,
                                         const std::vector<double>& values, size_t count) {
  std::vector<size_t> order;
  for (size_t i = 0; i < strikes.size(); ++i) {
    if (values[i] != 0) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return std::fabs(values[a]) > std::fabs(values[b]); });
  if (order.size() > count) order.resize(count);
  std::sort(order.begin(), order.end());
  std::vector<RankedStrike> top;
  double largest = 0;
  for (size_t i : order) largest = std::max(largest, std::fabs(values[i]));
  for (size_t i : order) top.push_back({strikes[i], values[i], std::fabs(values[i]) / largest});
  return top;
}

Band StrikeBand(const std::vector<double>& strikes, size_t index) {
  const size_t n = strikes.size();
  const double s = strikes[index];
  if (n < 2) return {true, s - 0.5, s + 0.5};
  const double low = index > 0 ? 0.5 * (strikes[index - 1] + s) : s - 0.5 * (strikes[1] - s);
  const double high = index + 1 < n ? 0.5 * (s + strikes[index + 1]) : s + 0.5 * (s - strikes[n - 2]);
  return {true, low, high};
}

}  // namespace engine
