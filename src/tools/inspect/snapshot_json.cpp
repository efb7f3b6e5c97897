// The snapshot object of `ordinel inspect`: one member per LevelsSnapshot field, in declared
// order, with the shapes the command's contract fixes. Each writer below is one group of the
// record's fields; snapshot_members.cpp says how each shape is written.
#include "inspect/answer_inspection.h"
#include "inspect/snapshot_members.h"

namespace inspect {
namespace {

using payload::LevelsSnapshot;

void WriteIdentityAndNotes(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("valid");
  w->Bool(s.valid);
  WriteText(w, "requestedSymbol", s.requestedSymbol);
  WriteText(w, "resolvedSymbol", s.resolvedSymbol);
  WriteText(w, "sourceSnapshotTime", s.sourceSnapshotTime);
  WriteText(w, "conversionNote", s.conversionNote);
  WriteText(w, "expirationNote", s.expirationNote);
  WriteText(w, "mappingNote", s.mappingNote);
  w->Key("locked");
  w->Bool(s.locked);
  w->Key("lockedRefreshAfterUnix");
  w->Number(s.lockedRefreshAfterUnix);
  WriteText(w, "lockedSession", s.lockedSession);
  WriteText(w, "focusSummary", s.focusSummary);
  WriteText(w, "modelSummary", s.modelSummary);
}

void WriteCoreLevels(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteLevel(w, "spot", s.spot);
  WriteLevel(w, "callWall", s.callWall);
  WriteLevel(w, "putWall", s.putWall);
  WriteLevel(w, "gammaFlip", s.gammaFlip);
  WriteLevel(w, "volTrigger", s.volTrigger);
  WriteLevel(w, "zeroGammaModel", s.zeroGammaModel);
  WriteLevel(w, "maxPain", s.maxPain);
  WriteLevel(w, "callOiWall", s.callOiWall);
  WriteLevel(w, "putOiWall", s.putOiWall);
  WriteLevel(w, "zeroDex", s.zeroDex);
}

void WriteFocusAndZones(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteFocus(w, s);
  WriteZone(w, "battleZone", s.battleZone);
  WriteZone(w, "upsideCluster", s.upsideCluster);
  WriteZone(w, "downsideCluster", s.downsideCluster);
}

void WriteProfileAndExposures(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteProfileRows(w, s);
  WritePairs(w, "gammaExposures", s.gammaExposures.pairs());
  WritePairs(w, "deltaExposures", s.deltaExposures.pairs());
  WriteLevel(w, "netGex", s.netGex);
  WriteLevel(w, "netDex", s.netDex);
}

void WriteVolZonesAndNdxLevels(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteLevel(w, "volAnchor", s.volAnchor);
  WriteLevel(w, "emOneSigma", s.emOneSigma);
  w->Key("volPremium");
  w->Number(s.volPremium);
  w->Key("emFrozen");
  w->Bool(s.emFrozen);
  WriteLevel(w, "ndxCallWall", s.ndxCallWall);
  WriteLevel(w, "ndxPutWall", s.ndxPutWall);
  WriteLevel(w, "ndxGammaFlip", s.ndxGammaFlip);
}

void WriteGreekWalls(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteVannaWalls(w, s);
  WriteCharmZones(w, s);
  WriteNumbers(w, "vegaWallStrike", s.vegaWallStrike, s.vegaWallCount);
  WriteLevel(w, "vannaFlip", s.vannaFlip);
  WriteLevel(w, "charmFlip", s.charmFlip);
  WriteLevel(w, "hybridCallWall", s.hybridCallWall);
  WriteLevel(w, "hybridPutWall", s.hybridPutWall);
  WriteLevel(w, "hybridVolTrigger", s.hybridVolTrigger);
  WriteLevel(w, "ivCallWall", s.ivCallWall);
  WriteLevel(w, "ivPutWall", s.ivPutWall);
}

void WriteSessionReferences(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteLevel(w, "priorDayHigh", s.priorDayHigh);
  WriteLevel(w, "priorDayLow", s.priorDayLow);
  WriteLevel(w, "rthOpen", s.rthOpen);
  WriteZone(w, "openingRange", s.openingRange);
  WriteLevel(w, "priorRthClose", s.priorRthClose);
  WriteLevel(w, "overnightHigh", s.overnightHigh);
  WriteLevel(w, "overnightLow", s.overnightLow);
  WriteLevel(w, "vwap", s.vwap);
  WriteLevels(w, "vwapBandPlus", s.vwapBandPlus);
  WriteLevels(w, "vwapBandMinus", s.vwapBandMinus);
  WriteZone(w, "asiaRange", s.asiaRange);
  WriteZone(w, "londonRange", s.londonRange);
  WriteZone(w, "nyAmRange", s.nyAmRange);
  WriteLevel(w, "midnightOpen", s.midnightOpen);
}

void WriteAtmIvAndExtenders(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteLevel(w, "atmIv", s.atmIv);
  WriteNumbers(w, "callExtenderStrike", s.callExtenderStrike, s.callExtenderCount);
  WriteNumbers(w, "putExtenderStrike", s.putExtenderStrike, s.putExtenderCount);
}

void WriteHeatCells(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteCells(w, "gexCells", s.gexCells);
  WriteCells(w, "charmCells", s.charmCells);
  WriteCells(w, "deltaCells", s.deltaCells);
  WriteCells(w, "vannaCells", s.vannaCells);
  WriteCells(w, "vegaCells", s.vegaCells);
}

void WriteProfilePointsAndDrift(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WritePairs(w, "profilePoints", s.profilePoints);
  WriteLevel(w, "netCum", s.netCum);
  WriteLevel(w, "callCum", s.callCum);
  WriteLevel(w, "putCum", s.putCum);
  WriteLevel(w, "totalVol", s.totalVol);
}

void WriteDensityAndBands(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteDensity(w, s);
  WriteBand(w, "densityBand", s.densityBand.has, "p16", s.densityBand.p16, "p84", s.densityBand.p84);
  WriteBand(w, "zeroGammaBand", s.zeroGammaBand.has, "lower", s.zeroGammaBand.lower, "upper",
            s.zeroGammaBand.upper);
}

void WriteHedgeFlow(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  WriteLevel(w, "charmHedgeUsd", s.charmHedgeUsd);
  WriteText(w, "charmHedgeDirection", s.charmHedgeDirection);
  WriteLevel(w, "vannaHedgeUsdPerVolPoint", s.vannaHedgeUsdPerVolPoint);
  WriteText(w, "vannaHedgeDirection", s.vannaHedgeDirection);
  WriteLevel(w, "pressureZoneLower", s.pressureZoneLower);
  WriteLevel(w, "pressureZoneUpper", s.pressureZoneUpper);
}

}  // namespace

void WriteSnapshotJson(const LevelsSnapshot& s, jsonout::JsonWriter* w) {
  w->BeginObject();
  WriteIdentityAndNotes(w, s);
  WriteCoreLevels(w, s);
  WriteFocusAndZones(w, s);
  WriteProfileAndExposures(w, s);
  WriteVolZonesAndNdxLevels(w, s);
  WriteGreekWalls(w, s);
  WriteSessionReferences(w, s);
  WriteAtmIvAndExtenders(w, s);
  WriteHeatCells(w, s);
  WriteProfilePointsAndDrift(w, s);
  WriteDensityAndBands(w, s);
  WriteHedgeFlow(w, s);
  w->EndObject();
}

}  // namespace inspect
