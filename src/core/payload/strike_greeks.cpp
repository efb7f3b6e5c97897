// Parallel per-strike arrays: "strike_greeks" (heatmap cells per Greek) and "label_exposures"
// (the exposure pairs printed beside level labels).
#include <algorithm>
#include <cmath>

#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

bool IsFiniteNumber(json::Node value) { return value.IsNumber() && std::isfinite(value.number()); }

// Pairs strikes[i] with greek[i] where both are JSON numbers (numeric strings do not count).
std::vector<StrikeValue> PairParallelArrays(json::Node section, std::string_view greekKey) {
  std::vector<StrikeValue> pairs;
  json::Node strikes = json::Member(section, "strikes");
  json::Node greek = json::Member(section, greekKey);
  if (!strikes.IsArray() || !greek.IsArray()) return pairs;
  const size_t n = std::min(strikes.size(), greek.size());
  pairs.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    json::Node strike = strikes.ElementAt(i);
    json::Node value = greek.ElementAt(i);
    if (IsFiniteNumber(strike) && IsFiniteNumber(value)) {
      pairs.push_back(StrikeValue{strike.number(), value.number()});
    }
  }
  return pairs;
}

}  // namespace

void ParseStrikeGreeks(json::Node levelBlock, json::Node root, std::string_view greekKey,
                       std::vector<HeatCell>* outCells) {
  outCells->clear();
  json::Node greeks = BlockIfPresentElseRoot(root, levelBlock, "strike_greeks");
  if (!greeks.IsObject()) return;
  BuildHeatCells(PairParallelArrays(greeks, greekKey), outCells);
}

void ParseLabelExposures(json::Node levelBlock, std::string_view greekKey, StrikeTable* outPairs) {
  json::Node exposures = json::Member(levelBlock, "label_exposures");
  *outPairs = exposures.IsObject() ? StrikeTable(PairParallelArrays(exposures, greekKey)) : StrikeTable();
}

}  // namespace payload
