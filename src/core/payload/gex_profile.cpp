// "gex_profile": the merged top-strike rows shared by the chart's top-strike lines and the panel,
// and the unmerged profile points of the right-edge gamma profile.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>

#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

// Strikes closer than spot times this are one row of the profile.
constexpr double kMergeToleranceOfSpot = 0.0012;
constexpr int kDefaultTopStrikes = 10;

// The (price, gex) pairs of the profile with both readable and gex not 0, in document order.
std::vector<StrikeValue> ProfileEntries(json::Node profile) {
  std::vector<StrikeValue> entries;
  entries.reserve(profile.size());
  for (const json::Node entry : profile.Elements()) {
    if (!entry.IsObject()) continue;
    StrikeValue pair;
    if (!json::FirstMemberNumber(entry, {"price", "strike", "level"}, &pair.strike)) continue;
    if (!json::FirstMemberNumber(entry, {"gex", "net_gex", "value"}, &pair.value)) continue;
    if (pair.value == 0) continue;
    entries.push_back(pair);
  }
  return entries;
}

void SortByMagnitudeDescending(std::vector<ProfileRow>* rows) {
  std::stable_sort(rows->begin(), rows->end(), [](const ProfileRow& a, const ProfileRow& b) {
    return std::fabs(a.gex) > std::fabs(b.gex);
  });
}

// Merged sums stay finite so that the percentages below stay defined.
double SaturatingSum(double a, double b) {
  const double sum = a + b;
  return std::isfinite(sum) ? sum : std::copysign(DBL_MAX, sum);
}

// Walks the candidates (largest |gex| first) and folds each into the first kept row within
// `tolerance`, or keeps it as a new row. Kept rows lie more than `tolerance` apart, so only the
// few rows next to the candidate's price in the price index can be within reach.
std::vector<ProfileRow> MergeNearbyStrikes(const std::vector<ProfileRow>& candidates, double tolerance) {
  std::vector<ProfileRow> rows;
  std::map<double, size_t> rowByPrice;
  for (const ProfileRow& candidate : candidates) {
    const double price = candidate.price;
    size_t target = rows.size();
    const auto next = rowByPrice.lower_bound(price);
    for (auto it = next; it != rowByPrice.end() && std::fabs(it->first - price) <= tolerance; ++it) {
      target = std::min(target, it->second);
    }
    for (auto it = next; it != rowByPrice.begin();) {
      --it;
      if (std::fabs(it->first - price) > tolerance) break;
      target = std::min(target, it->second);
    }
    if (target < rows.size()) {
      rows[target].gex = SaturatingSum(rows[target].gex, candidate.gex);
      ++rows[target].mergedCount;
    } else {
      rowByPrice.emplace(price, rows.size());
      rows.push_back(candidate);
    }
  }
  return rows;
}

int PercentOfLargest(double gex, double largest) {
  double share = std::fabs(gex) * 100 / largest;
  if (!std::isfinite(share)) share = std::fabs(gex) / largest * 100;
  return static_cast<int>(std::clamp(std::floor(share + 0.5), 0.0, 100.0));
}

bool Within(const OptionalLevel& level, double price, double tolerance) {
  return level.has && std::fabs(level.value - price) <= tolerance;
}

const char* RowTag(const LevelsSnapshot& snapshot, double price, double tolerance) {
  if (Within(snapshot.callWall, price, tolerance)) return "CW";
  if (Within(snapshot.putWall, price, tolerance)) return "PW";
  if (Within(snapshot.gammaFlip, price, tolerance)) return "Flip";
  if (Within(snapshot.volTrigger, price, tolerance)) return "VT";
  return "";
}

}  // namespace

void BuildGexProfile(json::Node levelBlock, const LevelsSnapshot& snapshot, int topStrikesCount,
                     std::vector<ProfileRow>* outRows) {
  outRows->clear();
  json::Node profile = json::Member(levelBlock, "gex_profile");
  if (!snapshot.spot.has || !(snapshot.spot.value > 0) || !profile.IsArray() || profile.size() == 0) {
    return;
  }
  std::vector<ProfileRow> candidates;
  for (const StrikeValue& entry : ProfileEntries(profile)) {
    ProfileRow row;
    row.price = entry.strike;
    row.gex = entry.value;
    candidates.push_back(row);
  }
  SortByMagnitudeDescending(&candidates);
  const double tolerance = snapshot.spot.value * kMergeToleranceOfSpot;
  std::vector<ProfileRow> rows = MergeNearbyStrikes(candidates, tolerance);
  SortByMagnitudeDescending(&rows);
  const size_t keep = static_cast<size_t>(topStrikesCount < 1 ? kDefaultTopStrikes : topStrikesCount);
  if (rows.size() > keep) rows.resize(keep);
  double largest = 0;
  for (const ProfileRow& row : rows) largest = std::max(largest, std::fabs(row.gex));
  if (!(largest > 0)) return;
  for (ProfileRow& row : rows) {
    row.percent = PercentOfLargest(row.gex, largest);
    row.tag = RowTag(snapshot, row.price, tolerance);
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const ProfileRow& a, const ProfileRow& b) { return a.price > b.price; });
  *outRows = std::move(rows);
}

void BuildProfilePoints(json::Node levelBlock, LevelsSnapshot* snapshot) {
  snapshot->profilePoints.clear();
  json::Node profile = json::Member(levelBlock, "gex_profile");
  if (!profile.IsArray()) return;
  std::vector<StrikeValue> points = ProfileEntries(profile);
  std::stable_sort(points.begin(), points.end(),
                   [](const StrikeValue& a, const StrikeValue& b) { return a.strike < b.strike; });
  snapshot->profilePoints = std::move(points);
}

}  // namespace payload
