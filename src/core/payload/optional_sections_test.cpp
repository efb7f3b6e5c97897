// Section isolation, look-up places and caps of the optional sections of a levels answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "jsonout/json_tree.h"
#include "payload/payload_test_support.h"
#include "payload/section_readers.h"

namespace payload {
namespace {

using testing::Answer;
using testing::Json;
using testing::ParseAnswer;

enum class Place { kRoot, kBlock };

struct SectionCase {
  Place place;
  const char* key;
  void (*resetFields)(LevelsSnapshot*);
};

// Resets `Fields` of a snapshot to their defaults.
template <auto... Fields>
void Reset(LevelsSnapshot* s) {
  const LevelsSnapshot d;
  ((s->*Fields = d.*Fields), ...);
}
#define F(field) &LevelsSnapshot::field

std::vector<SectionCase> SectionCases() {
  return {
      {Place::kBlock, "zero_gamma", Reset<F(zeroGammaModel), F(zeroGammaBand)>},
      {Place::kBlock, "max_pain", Reset<F(maxPain)>},
      {Place::kBlock, "zero_dex", Reset<F(zeroDex)>},
      {Place::kBlock, "net_gex", Reset<F(netGex)>},
      {Place::kRoot, "flow", Reset<F(netDex)>},
      {Place::kBlock, "net_drift", Reset<F(netCum), F(callCum), F(putCum), F(totalVol)>},
      {Place::kRoot, "extended_levels",
       Reset<F(densityPrice), F(densityTouchPct), F(densityCount), F(densityBand), F(charmHedgeUsd),
             F(charmHedgeDirection), F(vannaHedgeUsdPerVolPoint), F(vannaHedgeDirection),
             F(pressureZoneLower), F(pressureZoneUpper)>},
      {Place::kRoot, "points_of_interest", Reset<F(focus)>},
      {Place::kRoot, "zones", Reset<F(battleZone), F(upsideCluster), F(downsideCluster)>},
      {Place::kRoot, "vol_zones", Reset<F(volAnchor), F(emOneSigma), F(volPremium), F(emFrozen)>},
      {Place::kBlock, "ndx_levels", Reset<F(ndxCallWall), F(ndxPutWall), F(ndxGammaFlip)>},
      {Place::kBlock, "iv_walls", Reset<F(ivCallWall), F(ivPutWall)>},
      {Place::kBlock, "vanna_walls", Reset<F(vannaWallStrike), F(vannaWallIntensity), F(vannaWallCount)>},
      {Place::kBlock, "charm_zones", Reset<F(charmZones), F(charmZoneCount)>},
      {Place::kBlock, "vega_walls", Reset<F(vegaWallStrike), F(vegaWallCount)>},
      {Place::kBlock, "vanna_charm_flips", Reset<F(vannaFlip), F(charmFlip)>},
      {Place::kBlock, "hybrid_walls", Reset<F(hybridCallWall), F(hybridPutWall), F(hybridVolTrigger)>},
      {Place::kRoot, "session_refs", Reset<F(priorDayHigh), F(priorDayLow), F(rthOpen), F(openingRange)>},
      {Place::kRoot, "overnight_inventory", Reset<F(priorRthClose), F(overnightHigh), F(overnightLow)>},
      {Place::kRoot, "vwap_regime", Reset<F(vwap), F(vwapBandPlus), F(vwapBandMinus)>},
      {Place::kRoot, "ict_sessions", Reset<F(asiaRange), F(londonRange), F(nyAmRange), F(midnightOpen)>},
      {Place::kBlock, "atm_iv", Reset<F(atmIv)>},
      {Place::kBlock, "gex_profile",
       Reset<F(profileRows), F(profilePoints), F(callExtenderStrike), F(callExtenderCount),
             F(putExtenderStrike), F(putExtenderCount)>},
      {Place::kBlock, "gex_topo", Reset<F(gexCells)>},
      {Place::kBlock, "charm_by_strike", Reset<F(charmCells)>},
      {Place::kBlock, "strike_greeks", Reset<F(deltaCells), F(vannaCells), F(vegaCells)>},
      {Place::kBlock, "label_exposures", Reset<F(gammaExposures), F(deltaExposures)>},
      {Place::kBlock, "account_map", Reset<F(focusSummary)>},
      {Place::kBlock, "own_model", Reset<F(modelSummary)>},
  };
}

#undef F

enum class Damage { kRemoved, kString, kOtherContainer };

// `root` as JSON text with `damage` applied to the first member `key` of the root or of its
// level block; empty when there is no such member.
std::string Damaged(json::Node root, Place place, const char* key, Damage damage) {
  jsonout::Tree tree = jsonout::CopyNode(root);
  jsonout::Tree* object = &tree;
  if (place == Place::kBlock) {
    const auto block = std::find(tree.keys.begin(), tree.keys.end(), "display_levels");
    object = &tree.members[block - tree.keys.begin()];
  }
  const auto found = std::find(object->keys.begin(), object->keys.end(), key);
  if (found == object->keys.end()) return "";
  const auto member = object->members.begin() + (found - object->keys.begin());
  if (damage == Damage::kRemoved) {
    object->members.erase(member);
    object->keys.erase(found);
  } else if (damage == Damage::kString) {
    *member = jsonout::JsonString("mistyped");
  } else {
    *member = jsonout::CopyNode(
        Json(member->kind == json::kArray ? R"({"strike": 1, "low": 1, "high": 2})" : "[1, 2, 3]"));
  }
  return jsonout::JsonText(tree, jsonout::JsonWriter::Layout::kCompact);
}

TEST(OptionalSections, ADamagedSectionResetsOnlyItsOwnFields) {
  const testing::ParsedJson full = Json(testing::ReadAnswerFile("extended.json"));
  const json::Node root = full;
  LevelsSnapshot complete;
  std::string status;
  ASSERT_TRUE(ParseLevelsResponse(root, 10, &complete, &status)) << status;
  ASSERT_EQ(ParseAnswer(jsonout::JsonText(root, jsonout::JsonWriter::Layout::kCompact)), complete)
      << "the undamaged answer does not read back alike";
  for (const SectionCase& c : SectionCases()) {
    LevelsSnapshot expected = complete;
    c.resetFields(&expected);
    EXPECT_NE(expected, complete) << c.key << " carries nothing in extended.json";
    for (Damage damage : {Damage::kRemoved, Damage::kString, Damage::kOtherContainer}) {
      const std::string text = Damaged(root, c.place, c.key, damage);
      ASSERT_FALSE(text.empty()) << c.key;
      EXPECT_EQ(ParseAnswer(text), expected) << c.key << " damage " << static_cast<int>(damage);
    }
  }
}

TEST(OptionalSections, SectionsAreFoundWhereTheirRuleSays) {
  constexpr const char* kRootCharm =
      R"("charm_by_strike": [{"strike": 1, "charm": 1}, {"strike": 2, "charm": 1},)"
      R"({"strike": 3, "charm": 1}])";
  const struct {
    const char *block, *root;
    std::function<bool(const LevelsSnapshot&)> check;
  } cases[] = {
      // Root's object wins; a root member that is no object hands over to the block (one helper
      // for every section read so; which section is read so is pinned by the damage test).
      {R"({"zones": {"battle_zone": {"low": 1, "high": 2}}})",
       R"("zones": {"battle_zone": {"low": 5, "high": 6}})",
       [](const LevelsSnapshot& s) { return s.battleZone.low == 5; }},
      {R"({"zones": {"battle_zone": {"low": 1, "high": 2}}})", R"("zones": [1])",
       [](const LevelsSnapshot& s) { return s.battleZone.low == 1; }},
      // Charm zones: root's array, else the block's.
      {R"({"charm_zones": [{"low": 1, "high": 2}]})", R"("charm_zones": {"low": 5, "high": 6})",
       [](const LevelsSnapshot& s) { return s.charmZoneCount == 1 && s.charmZones[0].low == 1; }},
      {R"({"charm_zones": [{"low": 1, "high": 2}]})", R"("charm_zones": [{"low": 5, "high": 6}])",
       [](const LevelsSnapshot& s) { return s.charmZoneCount == 1 && s.charmZones[0].low == 5; }},
      // Vanna/charm flips: the block's object, else root's.
      {R"({"vanna_charm_flips": {"vanna_flip": 1}})", R"("vanna_charm_flips": {"vanna_flip": 2})",
       [](const LevelsSnapshot& s) { return s.vannaFlip.value == 1; }},
      {R"({"vanna_charm_flips": 7})", R"("vanna_charm_flips": {"charm_flip": 2})",
       [](const LevelsSnapshot& s) { return s.charmFlip.value == 2 && !s.vannaFlip.has; }},
      // Per-strike sections: the block's member when present at all, even null.
      {R"({"charm_by_strike": null})", kRootCharm,
       [](const LevelsSnapshot& s) { return s.charmCells.empty(); }},
      {R"({})", kRootCharm, [](const LevelsSnapshot& s) { return s.charmCells.size() == 3; }},
      {R"({})", R"("strike_greeks": {"strikes": [1, 2, 3], "vega": [1, 1, 1]})",
       [](const LevelsSnapshot& s) { return s.vegaCells.size() == 3 && s.deltaCells.empty(); }},
      // Label exposures come from the block only.
      {R"({})", R"("label_exposures": {"strikes": [1], "gamma": [1]})",
       [](const LevelsSnapshot& s) { return s.gammaExposures.empty(); }},
      // Net GEX: block, root, then root's raw context levels; an unreadable key tries the next.
      {R"({"net_gex": "n/a", "total_gex": 3})", R"("net_gex": 4)",
       [](const LevelsSnapshot& s) { return s.netGex.value == 3; }},
      {R"({})", R"("raw_context_levels": {"total_gex": 5}, "total_gex": null)",
       [](const LevelsSnapshot& s) { return s.netGex.value == 5; }},
      // Net DEX: root's "flow" when root has one (whatever it is), then block, then root.
      {R"({"flow": {"net_dex": 1}, "net_dex": 2})", R"("flow": {"total_dex": 3})",
       [](const LevelsSnapshot& s) { return s.netDex.value == 3; }},
      {R"({"flow": {"net_dex": 1}, "net_dex": 2})", R"("flow": 0)",
       [](const LevelsSnapshot& s) { return s.netDex.value == 2; }},
      {R"({"flow": {"net_dex": 1}})", "\"net_dex\": 9",
       [](const LevelsSnapshot& s) { return s.netDex.value == 1; }},
      {R"({})", R"("net_delta_notional": "-4")",
       [](const LevelsSnapshot& s) { return s.netDex.value == -4; }},
      // Net drift: the first place where the member exists decides, even when it is no object.
      {R"({"net_drift": null})", R"("net_drift": {"net_cum": 1})",
       [](const LevelsSnapshot& s) { return !s.netCum.has; }},
      {R"({})", R"("raw_context_levels": {"net_drift": {"net_cum": 2}})",
       [](const LevelsSnapshot& s) { return s.netCum.value == 2; }},
      // Sessions: or30 when it is an object, else or15.
      {R"({})", R"("session_refs": {"or30": 1, "or15": {"low": 1, "high": 1}})",
       [](const LevelsSnapshot& s) { return s.openingRange.valid && s.openingRange.low == 1; }},
      {R"({})", R"("session_refs": {"or30": {"low": 2}, "or15": {"low": 1, "high": 1}})",
       [](const LevelsSnapshot& s) { return !s.openingRange.valid; }},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.check(ParseAnswer(Answer(c.block, c.root)))) << c.block << " / " << c.root;
  }
}

TEST(OptionalSections, ZonesOrderTheirBoundsAndFallBackToDefaultLabels) {
  const struct {
    const char* zone;
    bool valid;
    double low, high;
    const char* label;
  } cases[] = {
      {R"({"low": 5010, "high": 4990})", true, 4990, 5010, "BZ"},
      {R"({"bottom": 5000, "top": 5000.0000001})", false, 0, 0, ""},
      {R"({"low": "x", "bottom": 1, "high": null, "top": "2"})", true, 1, 2, "BZ"},
      {R"({"low": 1, "high": 2, "label": 3})", true, 1, 2, "3"},
      {R"({"low": 1, "high": 2, "label": ""})", true, 1, 2, "BZ"},
      {R"({"low": 1, "high": 2, "label": "Flip battle"})", true, 1, 2, "Flip battle"},
      {R"({"low": 1})", false, 0, 0, ""},
  };
  for (const auto& c : cases) {
    const LevelsSnapshot s =
        ParseAnswer(Answer(std::string(R"({"zones": {"battle_zone": )") + c.zone + "}}"));
    EXPECT_EQ(s.battleZone, (ZoneBand{c.valid, c.low, c.high, c.label})) << c.zone;
  }
}

TEST(OptionalSections, FocusPointsNeedAValueAndGetNumberedLabels) {
  const LevelsSnapshot s = ParseAnswer(Answer(R"({"points_of_interest": {
      "focus_1": {"value": "21600.5", "label": "", "confidence": 0.8},
      "focus_2": {"label": "no value", "short_label": "NV"},
      "focus_3": {"value": 21400, "label": "Support", "short_label": "SUP", "confidence": "high"}}})"));
  EXPECT_EQ(s.focus[0], (FocusLevel{true, 21600.5, "Focus 1", "F1", "0.8"}));
  EXPECT_EQ(s.focus[1], FocusLevel());
  EXPECT_EQ(s.focus[2], (FocusLevel{true, 21400, "Support", "SUP", "high"}));
}

TEST(OptionalSections, ArraysAreCutAtTheirCapsAndSkipInvalidEntries) {
  // Entry 1 of every list is invalid and must not use up a slot.
  std::string walls = "[", zones = "[", density = "[";
  for (int i = 0; i < 12; ++i) {
    const std::string sep = i ? ", " : "", n = std::to_string(i);
    walls += sep +
             (i == 1 ? std::string(R"({"intensity": 1})") : R"({"strike": )" + std::to_string(100 + i) + "}");
    zones += sep + (i == 1 ? std::string(R"({"low": 5, "high": 4})")
                           : R"({"low": )" + n + R"(, "high": )" + n + "}");
    density += sep + (i == 1 ? std::string(R"({"price": 1})")
                             : R"({"p_touch_pct": 5, "price": )" + std::to_string(200 + i) + "}");
  }
  const LevelsSnapshot s = ParseAnswer(Answer(
      "{\"vanna_walls\": " + walls + "], \"vega_walls\": " + walls + "], \"charm_zones\": " + zones + "]}",
      R"("extended_levels": {"implied_density": {"available": true, "levels": )" + density + "]}}"));
  ASSERT_EQ(s.vannaWallCount, 8u);
  ASSERT_EQ(s.vegaWallCount, 6u);
  ASSERT_EQ(s.charmZoneCount, 6u);
  ASSERT_EQ(s.densityCount, 8u);
  EXPECT_EQ(s.vannaWallStrike[1], 102);
  EXPECT_EQ(s.vannaWallStrike[7], 108);
  EXPECT_EQ(s.vegaWallStrike[5], 106);
  EXPECT_EQ(s.charmZones[1], (ZoneBand{true, 2, 2, ""}));
  EXPECT_EQ(s.densityPrice[7], 208);
}

// Values outside their range, and sections gated by anything but "available": true, read as
// absent (the vol premium as its default 0.25).
TEST(OptionalSections, ValuesOutsideTheirRangeAreDropped) {
  using Check = std::function<bool(const LevelsSnapshot&)>;
  const Check premium25 = [](const LevelsSnapshot& s) { return s.volPremium == 0.25; };
  const struct {
    const char *block, *root;
    Check check;
  } cases[] = {
      {"{}", R"("vol_zones": {"premium": 0.3})", [](const auto& s) { return s.volPremium == 0.3; }},
      {"{}", R"("vol_zones": {"premium": 1})", premium25},
      {"{}", R"("vol_zones": {"premium": 0})", premium25},
      {R"({"atm_iv": 18})", "", [](const auto& s) { return s.atmIv.has; }},
      {R"({"atm_iv": 0})", "", [](const auto& s) { return !s.atmIv.has; }},
      {R"({"zero_gamma": {"available": true, "price": 5, "band": {"lower": 2, "upper": 2}}})", "",
       [](const auto& s) { return s.zeroGammaModel.has && !s.zeroGammaBand.has; }},
      {R"({"zero_gamma": {"available": true, "price": 5, "band": {"lower": 1}}})", "",
       [](const auto& s) { return s.zeroGammaModel.has && !s.zeroGammaBand.has; }},
      {R"({"zero_gamma": {"available": 1, "price": 5}})", "",
       [](const auto& s) { return !s.zeroGammaModel.has; }},
      {"{}", R"("extended_levels": {"implied_density": {"available": "true",
          "levels": [{"price": 1, "p_touch_pct": 2}], "stats": {"p16": 1, "p84": 2}}})",
       [](const auto& s) { return s.densityCount == 0 && !s.densityBand.has; }},
      // Hedge flow: the direction texts and a lone zone bound still read.
      {"{}", R"("extended_levels": {"hedge_flow": {"available": true,
          "charm": {"direction": "sell"}, "pressure_zone": {"upper": 9}}})",
       [](const auto& s) {
         return !s.charmHedgeUsd.has && s.charmHedgeDirection == "sell" && !s.pressureZoneLower.has &&
                s.pressureZoneUpper == OptionalLevel{true, 9};
       }},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.check(ParseAnswer(Answer(c.block, c.root)))) << c.block << " / " << c.root;
  }
}

}  // namespace
}  // namespace payload
