// libFuzzer entry for the JSON reader and the levels-answer parser: any bytes parse or fail
// cleanly into a document kept from input to input, every lookup on the tree stays inside it
// and keeps its promises, and whatever ParseLevelsResponse makes of the tree keeps the
// snapshot's invariants.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "json/json_document.h"
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

// Lookups keep their promises on every value, and the ranges walk the same children as the
// indexed accessors. Recursion is bounded by the parser's nesting limit.
void ExerciseNode(json::Node node) {
  double number = 0;
  if (json::NumberOfValue(node, &number)) Require(std::isfinite(number));
  if (node.IsNumber() && std::isfinite(node.number())) {
    const std::string written = text::RoundTripDouble(node.number());
    double back = 0;
    Require(text::ParseDouble(written, &back) == written.size() && back == node.number());
  }
  size_t index = 0;
  for (const json::Node element : node.Elements()) {
    Require(element == node.ElementAt(index++));
    ExerciseNode(element);
  }
  for (const json::Pair pair : node.Pairs()) {
    const json::Pair same = node.PairAt(index++);
    Require(pair.value == same.value && pair.key == same.key);
    // Member finds the first pair with this key: this one or an earlier one.
    const json::Node first = json::Member(node, pair.key);
    size_t at = 0;
    while (at < index && !(node.PairAt(at).value == first)) ++at;
    Require(at < index && node.PairAt(at).key == pair.key);
    json::MemberIsTrue(node, pair.key);
    json::MemberAsText(node, pair.key);
    json::MemberNumber(node, pair.key, &number);
    ExerciseNode(pair.value);
  }
  Require(index == node.size());
  json::FirstMemberNumber(node, kProbeKeys, kProbeCount, &number);
  json::FirstPresentMember(node, kProbeKeys, kProbeCount);
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

void ExerciseLevelsAnswer(json::Node root) {
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
  const json::ParseResult result = document.Parse(text, size);
  Require(result != json::ParseResult::kOutOfMemory);  // no limit is set and inputs are small
  Require((result == json::ParseResult::kParsed) == !document.empty());
  if (result != json::ParseResult::kParsed) return 0;
  ExerciseNode(document.Root());

  // ---- Further readers of a parsed answer go here; add their libraries to json_fuzz in
  // ---- fuzz/CMakeLists.txt.
  ExerciseLevelsAnswer(document.Root());
  return 0;
}
