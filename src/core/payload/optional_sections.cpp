// The order in which the optional sections of a levels answer are read, and the model zero gamma.
#include "payload/section_lookup.h"
#include "payload/section_readers.h"

namespace payload {

void ReadZeroGamma(json::Node levelBlock, LevelsSnapshot* snapshot) {
  json::Node zeroGamma = json::Member(levelBlock, "zero_gamma");
  if (!zeroGamma.IsObject() || !json::MemberIsTrue(zeroGamma, "available")) return;
  ReadLevel(zeroGamma, "price", &snapshot->zeroGammaModel);
  json::Node band = json::Member(zeroGamma, "band");
  if (!band.IsObject()) return;
  double lower = 0;
  double upper = 0;
  if (json::MemberNumber(band, "lower", &lower) && json::MemberNumber(band, "upper", &upper) &&
      upper > lower) {
    snapshot->zeroGammaBand = ZeroGammaBand{true, lower, upper};
  }
}

void ReadOptionalSections(json::Node root, json::Node levelBlock, int topStrikesCount,
                          LevelsSnapshot* snapshot) {
  ReadZeroGamma(levelBlock, snapshot);
  ReadLevel(levelBlock, "max_pain", &snapshot->maxPain);
  ReadLevel(levelBlock, "call_oi_wall", &snapshot->callOiWall);
  ReadLevel(levelBlock, "put_oi_wall", &snapshot->putOiWall);
  ReadLevel(levelBlock, "zero_dex", &snapshot->zeroDex);
  ReadNetGex(root, levelBlock, snapshot);
  ReadNetDex(root, levelBlock, snapshot);
  ReadNetDrift(root, levelBlock, snapshot);
  ReadExtendedLevels(root, snapshot);
  ReadPointsOfInterest(root, levelBlock, snapshot);
  ReadZones(root, levelBlock, snapshot);
  ReadVolZones(root, levelBlock, snapshot);
  ReadNdxLevels(levelBlock, snapshot);
  ReadIvWalls(levelBlock, snapshot);
  ReadVannaWalls(levelBlock, snapshot);
  ReadCharmZones(root, levelBlock, snapshot);
  ReadVegaWalls(levelBlock, snapshot);
  ReadVannaCharmFlips(root, levelBlock, snapshot);
  ReadHybridWalls(levelBlock, snapshot);
  ReadSessionRefs(root, levelBlock, snapshot);
  ReadOvernightInventory(root, levelBlock, snapshot);
  ReadVwapRegime(root, levelBlock, snapshot);
  ReadTradingPeriods(root, levelBlock, snapshot);
  ReadAtmIv(levelBlock, snapshot);
  BuildGexProfile(levelBlock, *snapshot, topStrikesCount, &snapshot->profileRows);
  BuildWallExtenders(levelBlock, snapshot);
  BuildProfilePoints(levelBlock, snapshot);
  ReadGexTopo(levelBlock, snapshot);
  ReadCharmByStrike(root, levelBlock, snapshot);
  ParseStrikeGreeks(levelBlock, root, "delta", &snapshot->deltaCells);
  ParseLabelExposures(levelBlock, "gamma", &snapshot->gammaExposures);
  ParseLabelExposures(levelBlock, "delta", &snapshot->deltaExposures);
  ParseStrikeGreeks(levelBlock, root, "vanna", &snapshot->vannaCells);
  ParseStrikeGreeks(levelBlock, root, "vega", &snapshot->vegaCells);
}

}  // namespace payload
