#include "panel/level_rows.h"

#include <cmath>

#include "panel/text_format.h"
#include "text/format.h"

namespace panel {
namespace {

struct LevelEntry {
  const char* shortLabel;
  payload::OptionalLevel payload::LevelsSnapshot::*field;
  host::Rgb colour;
  const char* tail;
  bool fullDetailOnly;
};

constexpr host::Rgb kFocusColour{105, 194, 255};

const LevelEntry kLevelEntries[] = {
    {"CW", &payload::LevelsSnapshot::callWall, {115, 240, 176}, "Call Wall", false},
    {"GF", &payload::LevelsSnapshot::gammaFlip, {246, 180, 95}, "Gamma Flip", false},
    {"PW", &payload::LevelsSnapshot::putWall, {255, 139, 139}, "Put Wall", false},
    {"VT", &payload::LevelsSnapshot::volTrigger, {177, 140, 255}, "Vol Trigger", false},
    {"0y", &payload::LevelsSnapshot::zeroGammaModel, {94, 214, 196}, "Zero Gamma (model)", false},
    {"MP", &payload::LevelsSnapshot::maxPain, {206, 212, 224}, "Max Pain", false},
    {"0DEX", &payload::LevelsSnapshot::zeroDex, {94, 214, 224}, "Zero DEX", true},
    {"COI", &payload::LevelsSnapshot::callOiWall, {115, 240, 176}, "Call OI Wall", true},
    {"POI", &payload::LevelsSnapshot::putOiWall, {255, 139, 139}, "Put OI Wall", true},
};

void AddZoneRow(const host::StudyHost& sc, const payload::ZoneBand& zone, const char* format,
                host::Rgb colour, std::vector<PanelLine>* lines) {
  if (!zone.valid) return;
  lines->push_back(
      MakeLine(text::Format(format, FormatPriceText(sc, zone.low), FormatPriceText(sc, zone.high)), colour));
}

}  // namespace

void AddLevelRow(const host::StudyHost& sc, std::vector<PanelLine>* lines, std::string_view shortLabel,
                 const payload::OptionalLevel& level, const payload::OptionalLevel& spot, host::Rgb colour,
                 std::string_view tail) {
  if (!level.has) return;
  const std::string price = FormatPriceText(sc, level.value);
  if (!spot.has) {
    lines->push_back(MakeLine(text::Format("  %-5s %-12s %s", shortLabel, price, tail), colour));
    return;
  }
  const double d = level.value - spot.value;
  const std::string distance = std::string(1, d >= 0 ? '+' : '-').append(FormatPriceText(sc, std::fabs(d)));
  lines->push_back(MakeLine(
      text::Format("  %-5s %-12s %s%s%s", shortLabel, price, distance, tail.empty() ? "" : "  ", tail),
      colour));
}

void AddLevelsSection(const host::StudyHost& sc, const payload::LevelsSnapshot& s, bool fullDetail,
                      std::vector<PanelLine>* lines) {
  lines->push_back(MakeLine("- Levels -", kHeaderColour));
  for (const LevelEntry& entry : kLevelEntries) {
    if (entry.fullDetailOnly && !fullDetail) continue;
    AddLevelRow(sc, lines, entry.shortLabel, s.*entry.field, s.spot, entry.colour, entry.tail);
  }
  for (const payload::FocusLevel& focus : s.focus) {
    const std::string_view label = focus.shortLabel.empty() ? std::string_view("F") : focus.shortLabel;
    AddLevelRow(sc, lines, label, {focus.valid, focus.value}, s.spot, kFocusColour, focus.confidence);
  }
}

void AddZonesSection(const host::StudyHost& sc, const payload::LevelsSnapshot& s,
                     std::vector<PanelLine>* lines) {
  if (!s.battleZone.valid && !s.upsideCluster.valid && !s.downsideCluster.valid) return;
  lines->push_back(MakeLine("- Zones -", kHeaderColour));
  AddZoneRow(sc, s.upsideCluster, "  UCL   %s - %s   Resistance", kGreen, lines);
  AddZoneRow(sc, s.battleZone, "  BZ    %s - %s   Battle Zone", kTitleColour, lines);
  AddZoneRow(sc, s.downsideCluster, "  DCL   %s - %s   Support", kRed, lines);
}

}  // namespace panel
