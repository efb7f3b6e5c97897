// The snapshot object of `ordinel inspect`: one member per LevelsSnapshot field, in declared
// order, with the shapes the command's contract fixes.
#include "inspect/answer_inspection.h"

#include <utility>

namespace inspect {

namespace {

using payload::HeatCell;
using payload::LevelsSnapshot;
using payload::OptionalLevel;
using payload::StrikeValue;
using payload::ZoneBand;

void Level(jsonout::JsonWriter* w, const char* key, const OptionalLevel& level) {
  w->Key(key);
  if (level.has) {
    w->Number(level.value);
  } else {
    w->Null();
  }
}

void Text(jsonout::JsonWriter* w, const char* key, const std::string& value) {
  w->Key(key);
  w->String(value);
}

void Zone(jsonout::JsonWriter* w, const char* key, const ZoneBand& zone) {
  w->Key(key);
  if (!zone.valid) {
    w->Null();
    return;
  }
  w->BeginObject();
  w->Key("low");
  w->Number(zone.low);
  w->Key("high");
  w->Number(zone.high);
  Text(w, "label", zone.label);
  w->EndObject();
}

template <typename Array>
void Numbers(jsonout::JsonWriter* w, const char* key, const Array& values, uint32_t count) {
  w->Key(key);
  w->BeginArray();
  for (uint32_t i = 0; i < count && i < values.size(); ++i) w->Number(values[i]);
  w->EndArray();
}

void Pairs(jsonout::JsonWriter* w, const char* key, const std::vector<StrikeValue>& pairs) {
  w->Key(key);
  jsonout::WritePairList(w, pairs, [](const StrikeValue& pair) { return std::pair(pair.strike, pair.value); });
}

void Cells(jsonout::JsonWriter* w, const char* key, const std::vector<HeatCell>& cells) {
  w->Key(key);
  w->BeginArray();
  for (const HeatCell& cell : cells) {
    w->BeginObject();
    w->Key("low");
    w->Number(cell.low);
    w->Key("high");
    w->Number(cell.high);
    w->Key("strength");
    w->Number(cell.strength);
    w->EndObject();
  }
  w->EndArray();
}

template <typename Array>
void Levels(jsonout::JsonWriter* w, const char* key, const Array& levels) {
  w->Key(key);
  w->BeginArray();
  for (const OptionalLevel& level : levels) {
    if (level.has) {
      w->Number(level.value);
    } else {
      w->Null();
    }
  }
  w->EndArray();
}

void Focus(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("focus");
  w->BeginArray();
  for (const payload::FocusLevel& focus : s.focus) {
    if (!focus.valid) {
      w->Null();
      continue;
    }
    w->BeginObject();
    w->Key("value");
    w->Number(focus.value);
    Text(w, "label", focus.label);
    Text(w, "shortLabel", focus.shortLabel);
    Text(w, "confidence", focus.confidence);
    w->EndObject();
  }
  w->EndArray();
}

void ProfileRows(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("profileRows");
  w->BeginArray();
  for (const payload::ProfileRow& row : s.profileRows) {
    w->BeginObject();
    w->Key("price");
    w->Number(row.price);
    w->Key("gex");
    w->Number(row.gex);
    w->Key("mergedCount");
    w->Int(row.mergedCount);
    w->Key("percent");
    w->Int(row.percent);
    Text(w, "tag", row.tag);
    w->EndObject();
  }
  w->EndArray();
}

void VannaWalls(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("vannaWalls");
  w->BeginArray();
  for (uint32_t i = 0; i < s.vannaWallCount && i < payload::kMaxVannaWalls; ++i) {
    w->BeginObject();
    w->Key("strike");
    w->Number(s.vannaWallStrike[i]);
    w->Key("intensity");
    w->Number(s.vannaWallIntensity[i]);
    w->EndObject();
  }
  w->EndArray();
}

void CharmZones(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("charmZones");
  w->BeginArray();
  for (uint32_t i = 0; i < s.charmZoneCount && i < payload::kMaxCharmZones; ++i) {
    w->BeginObject();
    w->Key("low");
    w->Number(s.charmZones[i].low);
    w->Key("high");
    w->Number(s.charmZones[i].high);
    w->EndObject();
  }
  w->EndArray();
}

void Density(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
  w->Key("density");
  w->BeginArray();
  for (uint32_t i = 0; i < s.densityCount && i < payload::kMaxDensityLevels; ++i) {
    w->BeginObject();
    w->Key("price");
    w->Number(s.densityPrice[i]);
    w->Key("touchPct");
    w->Number(s.densityTouchPct[i]);
    w->EndObject();
  }
  w->EndArray();
}

void Band(jsonout::JsonWriter* w, const char* key, bool has, const char* lowKey, double low,
          const char* highKey, double high) {
  w->Key(key);
  if (!has) {
    w->Null();
    return;
  }
  w->BeginObject();
  w->Key(lowKey);
  w->Number(low);
  w->Key(highKey);
  w->Number(high);
  w->EndObject();
}

}  // namespace

void WriteSnapshotJson(const LevelsSnapshot& s, jsonout::JsonWriter* w) {
  w->BeginObject();
  w->Key("valid");
  w->Bool(s.valid);
  Text(w, "requestedSymbol", s.requestedSymbol);
  Text(w, "resolvedSymbol", s.resolvedSymbol);
  Text(w, "sourceSnapshotTime", s.sourceSnapshotTime);
  Text(w, "conversionNote", s.conversionNote);
  Text(w, "expirationNote", s.expirationNote);
  Text(w, "mappingNote", s.mappingNote);
  w->Key("locked");
  w->Bool(s.locked);
  w->Key("lockedRefreshAfterUnix");
  w->Number(s.lockedRefreshAfterUnix);
  Text(w, "lockedSession", s.lockedSession);
  Text(w, "focusSummary", s.focusSummary);
  Text(w, "modelSummary", s.modelSummary);
  Level(w, "spot", s.spot);
  Level(w, "callWall", s.callWall);
  Level(w, "putWall", s.putWall);
  Level(w, "gammaFlip", s.gammaFlip);
  Level(w, "volTrigger", s.volTrigger);
  Level(w, "zeroGammaModel", s.zeroGammaModel);
  Level(w, "maxPain", s.maxPain);
  Level(w, "callOiWall", s.callOiWall);
  Level(w, "putOiWall", s.putOiWall);
  Level(w, "zeroDex", s.zeroDex);
  Focus(w, s);
  Zone(w, "battleZone", s.battleZone);
  Zone(w, "upsideCluster", s.upsideCluster);
  Zone(w, "downsideCluster", s.downsideCluster);
  ProfileRows(w, s);
  Pairs(w, "gammaExposures", s.gammaExposures.pairs());
  Pairs(w, "deltaExposures", s.deltaExposures.pairs());
  Level(w, "netGex", s.netGex);
  Level(w, "netDex", s.netDex);
  Level(w, "volAnchor", s.volAnchor);
  Level(w, "emOneSigma", s.emOneSigma);
  w->Key("volPremium");
  w->Number(s.volPremium);
  w->Key("emFrozen");
  w->Bool(s.emFrozen);
  Level(w, "ndxCallWall", s.ndxCallWall);
  Level(w, "ndxPutWall", s.ndxPutWall);
  Level(w, "ndxGammaFlip", s.ndxGammaFlip);
  VannaWalls(w, s);
  CharmZones(w, s);
  Numbers(w, "vegaWallStrike", s.vegaWallStrike, s.vegaWallCount);
  Level(w, "vannaFlip", s.vannaFlip);
  Level(w, "charmFlip", s.charmFlip);
  Level(w, "hybridCallWall", s.hybridCallWall);
  Level(w, "hybridPutWall", s.hybridPutWall);
  Level(w, "hybridVolTrigger", s.hybridVolTrigger);
  Level(w, "ivCallWall", s.ivCallWall);
  Level(w, "ivPutWall", s.ivPutWall);
  Level(w, "priorDayHigh", s.priorDayHigh);
  Level(w, "priorDayLow", s.priorDayLow);
  Level(w, "rthOpen", s.rthOpen);
  Zone(w, "openingRange", s.openingRange);
  Level(w, "priorRthClose", s.priorRthClose);
  Level(w, "overnightHigh", s.overnightHigh);
  Level(w, "overnightLow", s.overnightLow);
  Level(w, "vwap", s.vwap);
  Levels(w, "vwapBandPlus", s.vwapBandPlus);
  Levels(w, "vwapBandMinus", s.vwapBandMinus);
  Zone(w, "asiaRange", s.asiaRange);
  Zone(w, "londonRange", s.londonRange);
  Zone(w, "nyAmRange", s.nyAmRange);
  Level(w, "midnightOpen", s.midnightOpen);
  Level(w, "atmIv", s.atmIv);
  Numbers(w, "callExtenderStrike", s.callExtenderStrike, s.callExtenderCount);
  Numbers(w, "putExtenderStrike", s.putExtenderStrike, s.putExtenderCount);
  Cells(w, "gexCells", s.gexCells);
  Cells(w, "charmCells", s.charmCells);
  Cells(w, "deltaCells", s.deltaCells);
  Cells(w, "vannaCells", s.vannaCells);
  Cells(w, "vegaCells", s.vegaCells);
  Pairs(w, "profilePoints", s.profilePoints);
  Level(w, "netCum", s.netCum);
  Level(w, "callCum", s.callCum);
  Level(w, "putCum", s.putCum);
  Level(w, "totalVol", s.totalVol);
  Density(w, s);
  Band(w, "densityBand", s.densityBand.has, "p16", s.densityBand.p16, "p84", s.densityBand.p84);
  Band(w, "zeroGammaBand", s.zeroGammaBand.has, "lower", s.zeroGammaBand.lower, "upper",
       s.zeroGammaBand.upper);
  Level(w, "charmHedgeUsd", s.charmHedgeUsd);
  Text(w, "charmHedgeDirection", s.charmHedgeDirection);
  Level(w, "vannaHedgeUsdPerVolPoint", s.vannaHedgeUsdPerVolPoint);
  Text(w, "vannaHedgeDirection", s.vannaHedgeDirection);
  Level(w, "pressureZoneLower", s.pressureZoneLower);
  Level(w, "pressureZoneUpper", s.pressureZoneUpper);
  w->EndObject();
}

}  // namespace inspect
