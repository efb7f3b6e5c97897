// Wall extenders: the strikes with the heaviest gamma beyond the put wall and the call wall.
#include <cmath>

#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

namespace {

// A strike must carry at least this share of its side's largest |gex| to extend a wall.
constexpr double kThresholdOfLargest = 0.01;
constexpr size_t kMinProfileEntries = 3;

// The up to three heaviest entries kept in descending |gex|; equal magnitudes keep the earlier.
struct TopThree {
  StrikeValue entries[kMaxExtendersPerSide];
  uint32_t count = 0;

  void Offer(const StrikeValue& entry) {
    const double magnitude = std::fabs(entry.value);
    uint32_t at = count;
    while (at > 0 && std::fabs(entries[at - 1].value) < magnitude) --at;
    if (at >= kMaxExtendersPerSide) return;
    const uint32_t last = count < kMaxExtendersPerSide ? count : kMaxExtendersPerSide - 1;
    for (uint32_t i = last; i > at; --i) entries[i] = entries[i - 1];
    entries[at] = entry;
    if (count < kMaxExtendersPerSide) ++count;
  }
};

struct Magnitudes {
  double all = 0;
  double belowSpot = 0;
  double aboveSpot = 0;
};

Magnitudes LargestMagnitudes(const std::vector<StrikeValue>& entries, const OptionalLevel& spot) {
  Magnitudes largest;
  const bool spotKnown = spot.has && spot.value > 0;
  for (const StrikeValue& entry : entries) {
    const double magnitude = std::fabs(entry.value);
    largest.all = std::fmax(largest.all, magnitude);
    if (spotKnown && entry.strike < spot.value) {
      largest.belowSpot = std::fmax(largest.belowSpot, magnitude);
    }
    if (spotKnown && entry.strike > spot.value) {
      largest.aboveSpot = std::fmax(largest.aboveSpot, magnitude);
    }
  }
  return largest;
}

// Fills one side's strikes; `beyond` tells whether a strike lies past that side's wall.
template <typename Beyond>
void FillSide(const std::vector<StrikeValue>& entries, double reference, Beyond beyond,
              std::array<double, kMaxExtendersPerSide>* strikes, uint32_t* count) {
  const double threshold = reference * kThresholdOfLargest;
  if (!(threshold > 0)) return;
  TopThree top;
  for (const StrikeValue& entry : entries) {
    if (std::fabs(entry.value) >= threshold && beyond(entry.strike)) top.Offer(entry);
  }
  for (uint32_t i = 0; i < top.count; ++i) (*strikes)[i] = top.entries[i].strike;
  *count = top.count;
}

}  // namespace

void BuildWallExtenders(json::Node levelBlock, LevelsSnapshot* snapshot) {
  snapshot->callExtenderStrike.fill(0);
  snapshot->putExtenderStrike.fill(0);
  snapshot->callExtenderCount = 0;
  snapshot->putExtenderCount = 0;
  json::Node profile = json::Member(levelBlock, "gex_profile");
  if (!profile.IsArray() || profile.size() < kMinProfileEntries) return;
  if (!snapshot->callWall.has && !snapshot->putWall.has) return;

  std::vector<StrikeValue> entries;
  entries.reserve(profile.size());
  for (const json::Node entry : profile.Elements()) {
    if (!entry.IsObject()) continue;
    StrikeValue pair;
    if (json::MemberNumber(entry, "strike", &pair.strike) && json::MemberNumber(entry, "gex", &pair.value)) {
      entries.push_back(pair);
    }
  }
  const Magnitudes largest = LargestMagnitudes(entries, snapshot->spot);
  const bool spotKnown = snapshot->spot.has && snapshot->spot.value > 0;
  if (snapshot->putWall.has) {
    const double wall = snapshot->putWall.value;
    FillSide(
        entries, spotKnown ? largest.belowSpot : largest.all, [wall](double strike) { return strike < wall; },
        &snapshot->putExtenderStrike, &snapshot->putExtenderCount);
  }
  if (snapshot->callWall.has) {
    const double wall = snapshot->callWall.value;
    FillSide(
        entries, spotKnown ? largest.aboveSpot : largest.all, [wall](double strike) { return strike > wall; },
        &snapshot->callExtenderStrike, &snapshot->callExtenderCount);
  }
}

}  // namespace payload
