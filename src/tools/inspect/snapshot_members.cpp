#include "inspect/snapshot_members.h"

#include <utility>

namespace inspect {

using payload::HeatCell;
using payload::LevelsSnapshot;
using payload::OptionalLevel;
using payload::StrikeValue;
using payload::ZoneBand;

void WriteLevel(jsonout::JsonWriter* w, const char* key, const OptionalLevel& level) {
  w->Key(key);
  if (level.has) {
    w->Number(level.value);
  } else {
    w->Null();
  }
}

void WriteText(jsonout::JsonWriter* w, const char* key, const std::string& value) {
  w->Key(key);
  w->String(value);
}

void WriteZone(jsonout::JsonWriter* w, const char* key, const ZoneBand& zone) {
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
  WriteText(w, "label", zone.label);
  w->EndObject();
}

void WriteBand(jsonout::JsonWriter* w, const char* key, bool has, const char* lowKey, double low,
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

void WriteNumbers(jsonout::JsonWriter* w, const char* key, std::span<const double> values, uint32_t count) {
  w->Key(key);
  w->BeginArray();
  for (uint32_t i = 0; i < count && i < values.size(); ++i) w->Number(values[i]);
  w->EndArray();
}

void WritePairs(jsonout::JsonWriter* w, const char* key, const std::vector<StrikeValue>& pairs) {
  w->Key(key);
  jsonout::WritePairList(w, pairs,
                         [](const StrikeValue& pair) { return std::pair(pair.strike, pair.value); });
}

void WriteCells(jsonout::JsonWriter* w, const char* key, const std::vector<HeatCell>& cells) {
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

void WriteLevels(jsonout::JsonWriter* w, const char* key, std::span<const payload::OptionalLevel> levels) {
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

void WriteFocus(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
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
    WriteText(w, "label", focus.label);
    WriteText(w, "shortLabel", focus.shortLabel);
    WriteText(w, "confidence", focus.confidence);
    w->EndObject();
  }
  w->EndArray();
}

void WriteProfileRows(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
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
    WriteText(w, "tag", row.tag);
    w->EndObject();
  }
  w->EndArray();
}

void WriteVannaWalls(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
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

void WriteCharmZones(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
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

void WriteDensity(jsonout::JsonWriter* w, const LevelsSnapshot& s) {
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

}  // namespace inspect
