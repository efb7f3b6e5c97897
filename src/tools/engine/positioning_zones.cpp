#include "engine/positioning_zones.h"

#include <cmath>
#include <functional>

namespace engine {
namespace {

// The index of the row with the largest `value(row)` above 0 among rows that `keep`; -1 if none.
int LargestWhere(const std::vector<StrikeRow>& rows, const std::function<double(const StrikeRow&)>& value,
                 const std::function<bool(const StrikeRow&)>& keep) {
  int best = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!keep(rows[i]) || value(rows[i]) <= 0) continue;
    if (best < 0 || value(rows[i]) > value(rows[best])) best = static_cast<int>(i);
  }
  return best;
}

double LargestAbsNet(const std::vector<StrikeRow>& rows) {
  double largest = 0;
  for (const StrikeRow& r : rows) largest = std::max(largest, std::fabs(r.netGex));
  return largest;
}

std::string Confidence(double exposure, double largest) {
  const double share = largest > 0 ? std::fabs(exposure) / largest : 0;
  if (share >= 0.5) return "high";
  if (share >= 0.2) return "medium";
  return "low";
}

FocusPoint MakeFocus(const std::vector<StrikeRow>& rows, int index, const char* label,
                     const char* shortLabel) {
  FocusPoint f;
  f.label = label;
  f.shortLabel = shortLabel;
  if (index < 0) return f;
  f.level = {true, rows[index].strike};
  f.confidence = Confidence(rows[index].netGex, LargestAbsNet(rows));
  return f;
}

}  // namespace

Band ClusterAround(const std::vector<StrikeRow>& rows, const std::vector<double>& values, size_t index) {
  const double threshold = 0.5 * values[index];
  size_t first = index, last = index;
  while (first > 0 && values[first - 1] >= threshold) --first;
  while (last + 1 < rows.size() && values[last + 1] >= threshold) ++last;
  if (first > 0) --first;
  if (last + 1 < rows.size()) ++last;
  if (first == last) return {true, rows[first].strike - 0.5, rows[first].strike + 0.5};
  return {true, rows[first].strike, rows[last].strike};
}

Band UpsideCluster(const std::vector<StrikeRow>& rows, double spot) {
  const int i = LargestWhere(
      rows, [](const StrikeRow& r) { return r.callGex; },
      [spot](const StrikeRow& r) { return r.strike >= spot; });
  if (i < 0) return {};
  return ClusterAround(rows, Field(rows, &StrikeRow::callGex), static_cast<size_t>(i));
}

Band DownsideCluster(const std::vector<StrikeRow>& rows, double spot) {
  const int i = LargestWhere(
      rows, [](const StrikeRow& r) { return -r.putGex; },
      [spot](const StrikeRow& r) { return r.strike <= spot; });
  if (i < 0) return {};
  std::vector<double> putSize = Field(rows, &StrikeRow::putGex);
  for (double& v : putSize) v = -v;
  return ClusterAround(rows, putSize, static_cast<size_t>(i));
}

std::array<FocusPoint, 3> FocusPoints(const std::vector<StrikeRow>& rows, double spot, double expectedMove) {
  auto net = [](const StrikeRow& r) { return r.netGex; };
  int magnet =
      LargestWhere(rows, net, [&](const StrikeRow& r) { return std::fabs(r.strike - spot) <= expectedMove; });
  if (magnet < 0) magnet = LargestWhere(rows, net, [](const StrikeRow&) { return true; });
  auto side = [&](bool below) {
    auto onSide = [&](const StrikeRow& r, double reach) {
      const bool sideOk = below ? r.strike < spot : r.strike > spot;
      const bool taken = magnet >= 0 && r.strike == rows[magnet].strike;
      return sideOk && !taken && std::fabs(r.strike - spot) <= reach;
    };
    int i = LargestWhere(rows, net, [&](const StrikeRow& r) { return onSide(r, 2 * expectedMove); });
    if (i < 0) {
      // No long-gamma strike on that side: the heaviest open interest there.
      i = LargestWhere(
          rows, [below](const StrikeRow& r) { return below ? r.putOi : r.callOi; },
          [&](const StrikeRow& r) { return onSide(r, HUGE_VAL); });
    }
    return i;
  };
  return {MakeFocus(rows, magnet, "Gamma magnet", "MAG"),
          MakeFocus(rows, side(true), "Dealer support", "SUP"),
          MakeFocus(rows, side(false), "Call resistance", "RES")};
}

Band PressureZone(const std::vector<StrikeRow>& rows, double spot, double expectedMove) {
  double largest = 0;
  for (const StrikeRow& r : rows) {
    if (std::fabs(r.strike - spot) <= expectedMove) largest = std::max(largest, std::fabs(r.netGex));
  }
  if (largest <= 0) return {};
  Band zone;
  bool haveLow = false, haveHigh = false;
  for (const StrikeRow& r : rows) {
    if (std::fabs(r.netGex) < 0.25 * largest) continue;
    if (r.strike < spot) {
      zone.low = r.strike;  // ascending: the last one below spot is the nearest
      haveLow = true;
    } else if (r.strike > spot && !haveHigh) {
      zone.high = r.strike;
      haveHigh = true;
    }
  }
  zone.has = haveLow && haveHigh;
  return zone;
}

double PinningScore(const std::vector<StrikeRow>& rows, double spot, double expectedMove) {
  double pinning = 0, total = 0;
  for (const StrikeRow& r : rows) {
    total += std::fabs(r.netGex);
    if (std::fabs(r.strike - spot) <= expectedMove && r.netGex > 0) pinning += r.netGex;
  }
  return total > 0 ? 100.0 * pinning / total : 0;
}

}  // namespace engine
