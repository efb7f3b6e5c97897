// libFuzzer entry for the JSON readers and the levels-answer parser: any bytes parse or fail
// cleanly, the document reader agrees with the value-tree reader on the outcome, every value
// and every lookup, every lookup on the trees stays inside them and keeps its promises, and
// whatever ParseLevelsResponse makes of the tree keeps the snapshot's invariants.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "json/json_document.h"
#include "json/json_tree_compare.h"
#include "json/json_value.h"
#include "payload/levels_response.h"
#include "payload/levels_snapshot.h"
#include "text/format.h"

namespace {

constexpr const char* kProbeKeys[] = {"price", "value", "strike", "level", nullptr, "", "spot"};
constexpr int kProbeCount = static_cast<int>(std::size(kProbeKeys));
// "Top strikes count": below the input's range (acts as 10), a small cap, the input's maximum.
constexpr int kTopStrikeCounts[] = {0, 3, 40};

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Recursion is bounded by the parser's nesting limit.
void ExerciseValue(const json::Value& value) {
  double number = 0;
  if (json::NumberOfValue(&value, &number)) Require(std::isfinite(number));
  if (value.kind == json::kNumber && std::isfinite(value.number)) {
    const std::string written = text::RoundTripDouble(value.number);
    double back = 0;
    Require(text::ParseDouble(written, &back) == written.size() && back == value.number);
  }
  for (const json::Value& element : value.elements) ExerciseValue(element);

  Require(value.keys.size() == value.members.size());
  for (size_t i = 0; i < value.keys.size(); ++i) {
    const std::string& key = value.keys[i];
    const json::Value* first = json::Member(value, key);
    Require(first != nullptr && first <= &value.members[i]);
    json::MemberIsTrue(value, key);
    json::MemberAsText(value, key);
    json::MemberNumber(value, key, &number);
    ExerciseValue(value.members[i]);
  }
  json::FirstMemberNumber(value, kProbeKeys, kProbeCount, &number);
  json::FirstPresentMember(value, kProbeKeys, kProbeCount);
}

// The ranges of the document tree walk the same children as the indexed accessors.
void ExerciseNode(json::Node node) {
  size_t index = 0;
  for (const json::Node element : node.Elements()) {
    Require(element == node.ElementAt(index++));
    ExerciseNode(element);
  }
  for (const json::Pair pair : node.Pairs()) {
    const json::Pair same = node.PairAt(index++);
    Require(pair.value == same.value && pair.key == same.key);
    ExerciseNode(pair.value);
  }
  Require(index == node.size());
}

bool IsZone(const payload::ZoneBand& zone) { return !zone.valid || zone.low < zone.high; }
bool IsRange(const payload::ZoneBand& zone) { return !zone.valid || zone.low <= zone.high; }

bool AreCells(const std::vector<payload::HeatCell>& cells) {
  for (const payload::HeatCell& cell : cells) {
    if (!(cell.low < cell.high) || !(cell.strength >= -1 && cell.strength <= 1)) return false;
  }
  return true;
}

// What drawing and the panel rely on after a successful parse.
void RequireSnapshotInvariants(const payload::LevelsSnapshot& s, int topStrikes) {
  Require(s.valid);
  Require(s.vannaWallCount <= payload::kMaxVannaWalls && s.charmZoneCount <= payload::kMaxCharmZones);
  Require(s.vegaWallCount <= payload::kMaxVegaWalls && s.densityCount <= payload::kMaxDensityLevels);
  Require(s.callExtenderCount <= payload::kMaxExtendersPerSide);
  Require(s.putExtenderCount <= payload::kMaxExtendersPerSide);
  Require(s.volPremium > 0 && s.volPremium < 1);
  Require(IsZone(s.battleZone) && IsZone(s.upsideCluster) && IsZone(s.downsideCluster));
  Require(IsRange(s.openingRange) && IsRange(s.asiaRange) && IsRange(s.londonRange) && IsRange(s.nyAmRange));
  for (uint32_t i = 0; i < s.charmZoneCount; ++i) Require(IsRange(s.charmZones[i]));
  for (const payload::FocusLevel& focus : s.focus) {
    Require(!focus.valid || (!focus.label.empty() && !focus.shortLabel.empty()));
  }
  Require(s.profileRows.size() <= static_cast<size_t>(topStrikes < 1 ? 10 : topStrikes));
  for (size_t i = 0; i < s.profileRows.size(); ++i) {
    const payload::ProfileRow& row = s.profileRows[i];
    Require(row.mergedCount >= 1 && row.percent >= 0 && row.percent <= 100);
    Require(i == 0 || !(s.profileRows[i - 1].price < row.price));  // highest price first
  }
  for (size_t i = 1; i < s.profilePoints.size(); ++i) {
    Require(!(s.profilePoints[i].strike < s.profilePoints[i - 1].strike));
  }
  Require(AreCells(s.gexCells) && AreCells(s.charmCells) && AreCells(s.deltaCells));
  Require(AreCells(s.vannaCells) && AreCells(s.vegaCells));
  Require(!s.densityBand.has || s.densityBand.p16 < s.densityBand.p84);
  Require(!s.zeroGammaBand.has || s.zeroGammaBand.lower < s.zeroGammaBand.upper);
}

void ExerciseLevelsAnswer(const json::Value& root) {
  for (int topStrikes : kTopStrikeCounts) {
    payload::LevelsSnapshot snapshot;
    snapshot.valid = true;  // a refused answer must leave nothing of this behind
    std::string status;
    if (payload::ParseLevelsResponse(root, topStrikes, &snapshot, &status)) {
      RequireSnapshotInvariants(snapshot, topStrikes);
    } else {
      Require(!status.empty() && snapshot == payload::LevelsSnapshot{});
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  static json::Document document;  // kept from input to input, as the study keeps it
  json::Value root;
  const bool parsed = json::ParseJson(text, size, &root);
  const json::ParseResult result = document.Parse(text, size);
  const std::string difference = json::testing::ParsesDisagree(parsed, root, result, document);
  if (!difference.empty()) {
    std::fprintf(stderr, "the readers disagree: %s\n", difference.c_str());
    __builtin_trap();
  }
  if (!parsed) return 0;
  ExerciseNode(document.Root());
  ExerciseValue(root);
  const json::Value copy = root;  // copies own their subtree
  ExerciseValue(copy);

  // ---- Further readers of a parsed answer go here; add their libraries to json_fuzz in
  // ---- fuzz/CMakeLists.txt.
  ExerciseLevelsAnswer(root);
  return 0;
}
