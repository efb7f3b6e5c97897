// How each shape of LevelsSnapshot field is written as a member of the `ordinel inspect`
// snapshot: absent values as null, fixed arrays up to their count, lists of records as arrays
// of objects. Internal to snapshot_json.cpp, which lists the members in their order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jsonout/json_writer.h"
#include "payload/levels_snapshot.h"

namespace inspect {

// `key` with the level's value, or null when it is absent.
void WriteLevel(jsonout::JsonWriter* w, const char* key, const payload::OptionalLevel& level);
// `key` with a string.
void WriteText(jsonout::JsonWriter* w, const char* key, const std::string& value);
// `key` with {"low", "high", "label"}, or null when the zone is not valid.
void WriteZone(jsonout::JsonWriter* w, const char* key, const payload::ZoneBand& zone);
// `key` with {lowKey: low, highKey: high}, or null when `has` is false.
void WriteBand(jsonout::JsonWriter* w, const char* key, bool has, const char* lowKey, double low,
               const char* highKey, double high);
// `key` with the first `count` of `values` (no more than there are).
void WriteNumbers(jsonout::JsonWriter* w, const char* key, std::span<const double> values, uint32_t count);
// `key` with one entry per level: its value, or null when it is absent.
void WriteLevels(jsonout::JsonWriter* w, const char* key, std::span<const payload::OptionalLevel> levels);
// `key` with [strike, value] pairs.
void WritePairs(jsonout::JsonWriter* w, const char* key, const std::vector<payload::StrikeValue>& pairs);
// `key` with {"low", "high", "strength"} per cell.
void WriteCells(jsonout::JsonWriter* w, const char* key, const std::vector<payload::HeatCell>& cells);

// "focus": one object per point of interest, null for an invalid one.
void WriteFocus(jsonout::JsonWriter* w, const payload::LevelsSnapshot& s);
// "profileRows": one object per row of the gamma profile.
void WriteProfileRows(jsonout::JsonWriter* w, const payload::LevelsSnapshot& s);
// "vannaWalls": {"strike", "intensity"} up to the wall count.
void WriteVannaWalls(jsonout::JsonWriter* w, const payload::LevelsSnapshot& s);
// "charmZones": {"low", "high"} up to the zone count.
void WriteCharmZones(jsonout::JsonWriter* w, const payload::LevelsSnapshot& s);
// "density": {"price", "touchPct"} up to the density count.
void WriteDensity(jsonout::JsonWriter* w, const payload::LevelsSnapshot& s);

}  // namespace inspect
