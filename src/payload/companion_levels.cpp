// The single-level sections: expected-move zones, NDX companion levels, IV walls, vanna and
// charm flips, hybrid walls and the at-the-money implied volatility.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadVolZones(const json::Value& root, const json::Value& levelBlock,
                  LevelsSnapshot* snapshot) {
  const json::Value* zones = RootIfObjectElseBlock(root, levelBlock, "vol_zones");
  if (!IsObject(zones)) return;
  ReadLevel(zones, "anchor", &snapshot->volAnchor);
  ReadLevel(zones, "em_1sigma", &snapshot->emOneSigma);
  double premium = 0;
  if (json::MemberNumber(*zones, "premium", &premium) && premium > 0 && premium < 1) {
    snapshot->volPremium = premium;
  }
  snapshot->emFrozen = json::MemberIsTrue(*zones, "em_frozen");
}

void ReadNdxLevels(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  const json::Value* ndx = json::Member(levelBlock, "ndx_levels");
  ReadLevel(ndx, "call_wall", &snapshot->ndxCallWall);
  ReadLevel(ndx, "put_wall", &snapshot->ndxPutWall);
  ReadLevel(ndx, "gamma_flip", &snapshot->ndxGammaFlip);
}

void ReadIvWalls(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  const json::Value* walls = json::Member(levelBlock, "iv_walls");
  if (!IsObject(walls)) return;
  ReadLevel(json::Member(*walls, "call"), "strike", &snapshot->ivCallWall);
  ReadLevel(json::Member(*walls, "put"), "strike", &snapshot->ivPutWall);
}

void ReadVannaCharmFlips(const json::Value& root, const json::Value& levelBlock,
                         LevelsSnapshot* snapshot) {
  const json::Value* flips = json::Member(levelBlock, "vanna_charm_flips");
  if (!IsObject(flips)) flips = json::Member(root, "vanna_charm_flips");
  ReadLevel(flips, "vanna_flip", &snapshot->vannaFlip);
  ReadLevel(flips, "charm_flip", &snapshot->charmFlip);
}

void ReadHybridWalls(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  const json::Value* walls = json::Member(levelBlock, "hybrid_walls");
  ReadLevel(walls, "call_wall", &snapshot->hybridCallWall);
  ReadLevel(walls, "put_wall", &snapshot->hybridPutWall);
  ReadLevel(walls, "vol_trigger", &snapshot->hybridVolTrigger);
}

void ReadAtmIv(const json::Value& levelBlock, LevelsSnapshot* snapshot) {
  double iv = 0;
  if (json::MemberNumber(levelBlock, "atm_iv", &iv) && iv > 0) {
    snapshot->atmIv = OptionalLevel{true, iv};
  }
}

}  // namespace payload
