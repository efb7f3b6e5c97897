#include "context/percentile_tables.h"

#include <cmath>

namespace context {
namespace {

struct Anchor {
  int percentile;
  double value;
};

// The published rows of each table; entries between them are filled by linear interpolation,
// which keeps every table non-decreasing and exact at each published row.
constexpr int kAnchorPercentiles[12] = {0, 1, 5, 10, 25, 50, 51, 75, 90, 95, 99, 100};

constexpr PercentileTable Interpolate(const double (&values)[12]) {
  PercentileTable table{};
  for (int a = 0; a + 1 < 12; ++a) {
    const int p0 = kAnchorPercentiles[a], p1 = kAnchorPercentiles[a + 1];
    for (int p = p0; p <= p1; ++p) {
      const double f = double(p - p0) / double(p1 - p0);
      table[p] = p == p1 ? values[a + 1] : values[a] + (values[a + 1] - values[a]) * f;
    }
  }
  return table;
}

constexpr double kFlipStress[12] = {-0.55245,   -0.344693,  -0.216359,   -0.15881,   -0.0945411, -0.0483247,
                                    -0.0466323, -0.0154884, -0.00198683, 0.00352984, 0.0185255,  0.0835279};
constexpr double kRealizedVol[12] = {0.00729512, 0.0293549, 0.0487604, 0.0628387, 0.0963666, 0.151227,
                                     0.153598,   0.22868,   0.327198,  0.408551,  0.581731,  1.4686};
constexpr double kVix[12] = {9.14, 9.77,  11.001, 12.04,   13.54,   16.47,
                             16.6, 20.87, 26.354, 30.1485, 41.4931, 82.69};
constexpr double kComposite[12] = {1.24924, 6.63583, 16.9744, 22.9486, 33.9722, 49.5512,
                                   50.2709, 65.2078, 78.515,  86.1674, 96.1856, 99.9999};

constexpr PercentileTable kFlipStressTable = Interpolate(kFlipStress);
constexpr PercentileTable kRealizedVolTable = Interpolate(kRealizedVol);
constexpr PercentileTable kVixTable = Interpolate(kVix);
constexpr PercentileTable kCompositeTable = Interpolate(kComposite);

}  // namespace

const PercentileTable& FlipStressTable() { return kFlipStressTable; }
const PercentileTable& RealizedVolTable() { return kRealizedVolTable; }
const PercentileTable& VixTable() { return kVixTable; }
const PercentileTable& CompositeTable() { return kCompositeTable; }

double PercentileFromTable(double x, const PercentileTable& t) {
  if (!std::isfinite(x)) return -1;
  if (x <= t[0]) return 0.0;
  if (x >= t[100]) return 1.0;
  int lo = 0, hi = 100;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (x < t[mid])
      hi = mid;
    else
      lo = mid;
  }
  const double w = t[lo + 1] - t[lo];
  const double f = w > 0 ? (x - t[lo]) / w : 0;
  return (lo + f) / 100;
}

}  // namespace context
