#include "live/day_captures.h"

#include <algorithm>
#include <cmath>

namespace live {

std::vector<size_t> SpreadOverDay(size_t count, size_t limit, size_t mustKeep) {
  std::vector<size_t> kept;
  if (count <= limit) {
    for (size_t i = 0; i < count; ++i) kept.push_back(i);
    return kept;
  }
  // Evenly spaced and distinct, since count - 1 > limit - 1; the first is 0, the last count - 1.
  for (size_t k = 0; k < limit; ++k) {
    kept.push_back(static_cast<size_t>(std::llround(static_cast<double>(k) * static_cast<double>(count - 1) /
                                                    static_cast<double>(limit - 1))));
  }
  if (mustKeep >= count || std::binary_search(kept.begin(), kept.end(), mustKeep)) return kept;
  // It lies between two kept ones; the neighbour that is not an end gives way, so the order holds.
  const auto after = std::upper_bound(kept.begin(), kept.end(), mustKeep);
  const auto before = after - 1;
  *(before == kept.begin() ? after : before) = mustKeep;
  return kept;
}

size_t FirstAtOrAfter(const std::vector<store::CaptureSummary>& day, double time) {
  for (size_t i = 0; i < day.size(); ++i) {
    if (static_cast<double>(day[i].asOf) >= time) return i;
  }
  return day.size();
}

double ShownRatio(const store::CaptureSummary& capture, bool mapped) {
  return mapped ? capture.provenance.conversionRatio : 1.0;
}

double ShownPrice(double underlyingPrice, double ratio) {
  return std::round(underlyingPrice * ratio * 1e4) / 1e4;
}

const char* ConversionMethod(bool mapped) { return mapped ? "ratio" : "none"; }

std::string ShownSymbol(const std::string& underlying, const std::string& future, bool mapped) {
  return mapped ? future : underlying;
}

}  // namespace live
