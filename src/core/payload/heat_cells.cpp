// Heatmap cells: per-strike values turned into price bands, and the two sections that feed
// them directly ("gex_topo" and "charm_by_strike").
#include <algorithm>
#include <cmath>

#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

constexpr size_t kMinHeatPairs = 3;

bool IsFiniteNumber(json::Node value) { return value.IsNumber() && std::isfinite(value.number()); }

// Sum of the cells that are finite JSON numbers; false when the sum itself overflows.
bool SumOfNumberCells(json::Node cells, double* sum) {
  double total = 0;
  for (const json::Node cell : cells.Elements()) {
    if (IsFiniteNumber(cell)) total += cell.number();
  }
  *sum = total;
  return std::isfinite(total);
}

}  // namespace

void BuildHeatCells(std::vector<StrikeValue> pairs, std::vector<HeatCell>* outCells) {
  outCells->clear();
  std::erase_if(pairs, [](const StrikeValue& pair) {
    return !std::isfinite(pair.strike) || !std::isfinite(pair.value);
  });
  if (pairs.size() < kMinHeatPairs) return;
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const StrikeValue& a, const StrikeValue& b) { return a.strike < b.strike; });
  double largest = 0;
  for (const StrikeValue& pair : pairs) largest = std::fmax(largest, std::fabs(pair.value));
  if (!(largest > 0)) return;
  const size_t n = pairs.size();
  outCells->reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const double strike = pairs[i].strike;
    const double low =
        i > 0 ? (pairs[i - 1].strike + strike) / 2 : strike - std::fabs(pairs[1].strike - strike) / 2;
    const double high =
        i + 1 < n ? (strike + pairs[i + 1].strike) / 2 : strike + std::fabs(strike - pairs[n - 2].strike) / 2;
    if (low < high && std::isfinite(low) && std::isfinite(high)) {
      outCells->push_back(HeatCell{low, high, pairs[i].value / largest});
    }
  }
}

void ReadGexTopo(json::Node levelBlock, LevelsSnapshot* snapshot) {
  snapshot->gexCells.clear();
  json::Node topo = json::Member(levelBlock, "gex_topo");
  if (!topo.IsObject()) return;
  json::Node rows = json::Member(topo, "rows");
  if (!rows.IsArray()) return;
  std::vector<StrikeValue> pairs;
  pairs.reserve(rows.size());
  for (const json::Node row : rows.Elements()) {
    if (!row.IsObject()) continue;
    StrikeValue pair;
    json::Node cells = json::Member(row, "cells");
    if (!json::MemberNumber(row, "strike", &pair.strike) || !cells.IsArray()) continue;
    if (!SumOfNumberCells(cells, &pair.value)) continue;
    pairs.push_back(pair);
  }
  BuildHeatCells(std::move(pairs), &snapshot->gexCells);
}

void ReadCharmByStrike(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  snapshot->charmCells.clear();
  json::Node charm = BlockIfPresentElseRoot(root, levelBlock, "charm_by_strike");
  if (!charm.IsArray()) return;
  std::vector<StrikeValue> pairs;
  pairs.reserve(charm.size());
  for (const json::Node entry : charm.Elements()) {
    if (!entry.IsObject()) continue;
    StrikeValue pair;
    if (json::MemberNumber(entry, "strike", &pair.strike) &&
        json::MemberNumber(entry, "charm", &pair.value)) {
      pairs.push_back(pair);
    }
  }
  BuildHeatCells(std::move(pairs), &snapshot->charmCells);
}

}  // namespace payload
