// The single-level sections: expected-move zones, NDX companion levels, IV walls, vanna and
// charm flips, hybrid walls and the at-the-money implied volatility.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadVolZones(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node zones = RootIfObjectElseBlock(root, levelBlock, "vol_zones");
  if (!zones.IsObject()) return;
  ReadLevel(zones, "anchor", &snapshot->volAnchor);
  ReadLevel(zones, "em_1sigma", &snapshot->emOneSigma);
  double premium = 0;
  if (json::MemberNumber(zones, "premium", &premium) && premium > 0 && premium < 1) {
    snapshot->volPremium = premium;
  }
  snapshot->emFrozen = json::MemberIsTrue(zones, "em_frozen");
}

void ReadNdxLevels(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node ndx = json::Member(levelBlock, "ndx_levels");
  ReadLevel(ndx, "call_wall", &snapshot->ndxCallWall);
  ReadLevel(ndx, "put_wall", &snapshot->ndxPutWall);
  ReadLevel(ndx, "gamma_flip", &snapshot->ndxGammaFlip);
}

void ReadIvWalls(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node walls = json::Member(levelBlock, "iv_walls");
  if (!walls.IsObject()) return;
  ReadLevel(json::Member(walls, "call"), "strike", &snapshot->ivCallWall);
  ReadLevel(json::Member(walls, "put"), "strike", &snapshot->ivPutWall);
}

void ReadVannaCharmFlips(json::Node root, json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node flips = json::Member(levelBlock, "vanna_charm_flips");
  if (!flips.IsObject()) flips = json::Member(root, "vanna_charm_flips");
  ReadLevel(flips, "vanna_flip", &snapshot->vannaFlip);
  ReadLevel(flips, "charm_flip", &snapshot->charmFlip);
}

void ReadHybridWalls(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node walls = json::Member(levelBlock, "hybrid_walls");
  ReadLevel(walls, "call_wall", &snapshot->hybridCallWall);
  ReadLevel(walls, "put_wall", &snapshot->hybridPutWall);
  ReadLevel(walls, "vol_trigger", &snapshot->hybridVolTrigger);
}

void ReadAtmIv(json::Node levelBlock, LevelsSnapshot* snapshot) {
  double iv = 0;
  if (json::MemberNumber(levelBlock, "atm_iv", &iv) && iv > 0) {
    snapshot->atmIv = OptionalLevel{true, iv};
  }
}

}  // namespace payload
