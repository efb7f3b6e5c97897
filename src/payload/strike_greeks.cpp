// Parallel per-strike arrays: "strike_greeks" (heatmap cells per Greek) and "label_exposures"
// (the exposure pairs printed beside level labels).
#include <algorithm>
#include <cmath>

#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

bool IsFiniteNumber(const json::Value& value) {
  return value.kind == json::kNumber && std::isfinite(value.number);
}

// Pairs strikes[i] with greek[i] where both are JSON numbers (numeric strings do not count).
std::vector<StrikeValue> PairParallelArrays(const json::Value& section, std::string_view greekKey) {
  std::vector<StrikeValue> pairs;
  const json::Value* strikes = json::Member(section, "strikes");
  const json::Value* greek = json::Member(section, greekKey);
  if (!IsArray(strikes) || !IsArray(greek)) return pairs;
  const size_t n = std::min(strikes->elements.size(), greek->elements.size());
  pairs.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const json::Value& strike = strikes->elements[i];
    const json::Value& value = greek->elements[i];
    if (IsFiniteNumber(strike) && IsFiniteNumber(value)) {
      pairs.push_back(StrikeValue{strike.number, value.number});
    }
  }
  return pairs;
}

}  // namespace

void ParseStrikeGreeks(const json::Value& levelBlock, const json::Value& root,
                       std::string_view greekKey, std::vector<HeatCell>* outCells) {
  outCells->clear();
  const json::Value* greeks = BlockIfPresentElseRoot(root, levelBlock, "strike_greeks");
  if (!IsObject(greeks)) return;
  BuildHeatCells(PairParallelArrays(*greeks, greekKey), outCells);
}

void ParseLabelExposures(const json::Value& levelBlock, std::string_view greekKey,
                         std::vector<StrikeValue>* outPairs) {
  outPairs->clear();
  const json::Value* exposures = json::Member(levelBlock, "label_exposures");
  if (!IsObject(exposures)) return;
  *outPairs = PairParallelArrays(*exposures, greekKey);
}

}  // namespace payload
