// The core map: core levels, focus levels, zones and top strikes.
#include <algorithm>
#include <string>

#include "draw/chart_layers.h"
#include "study/study_inputs.h"
#include "text/format.h"

namespace draw {
namespace {

constexpr int kZoneLineBase = 71100;
constexpr int kTopStrikeBase = 71200;
constexpr int kMaxTopStrikeLines = 40;  // 71200-71239; the panel starts at 71400
constexpr int kZoneShadeTransparency = 85;

struct CoreRow {
  const payload::OptionalLevel& level;
  const char* label;
  int subgraph;
  int style;
  int input;
};

struct ZoneRow {
  const payload::ZoneBand& zone;
  const char* label;
  int subgraph;
  int shadeLine;
};

std::string FocusLabel(const payload::FocusLevel& focus) {
  return text::Format("%s - %s%s%s", focus.shortLabel, focus.label,
                      focus.confidence.empty() ? "" : " - ", focus.confidence);
}

std::string TopStrikeLabel(const payload::ProfileRow& row) {
  std::string label = text::Format("[%d]", row.percent);
  if (row.mergedCount > 1) label += text::Format(" x%d", row.mergedCount);
  if (!row.tag.empty()) label += " " + row.tag;
  return label;
}

// A core or focus line: width, label and price-scale flag follow the chart-wide inputs.
void DrawCoreLine(PassContext& pass, int lineNumber, double price, int subgraph, int style,
                  std::string_view label) {
  DrawLevelLine(pass, {.lineNumber = lineNumber,
                       .price = price,
                       .colour = SubgraphColour(pass, subgraph),
                       .width = pass.lineWidth,
                       .style = style,
                       .label = label,
                       .labelOn = pass.labelLines,
                       .valueInPriceScale = pass.valueInPriceScale});
}

}  // namespace

void DrawCoreLevels(PassContext& pass, const LevelsSnapshot& s) {
  const CoreRow rows[] = {
      {s.callWall, "CW - Call Wall", study::kSgCallWall, 0, study::kDrawCoreLevels},
      {s.putWall, "PW - Put Wall", study::kSgPutWall, 0, study::kDrawCoreLevels},
      {s.gammaFlip, "GF - Gamma Flip", study::kSgGammaFlip, 1, study::kDrawCoreLevels},
      {s.volTrigger, "VT/HVL - Vol Trigger", study::kSgVolTrigger, 2, study::kDrawVolTrigger},
      {s.maxPain, "MP - Max Pain", study::kSgMaxPain, 1, study::kDrawMaxPain},
      {s.callOiWall, "Call OI Wall", study::kSgCallOiWall, 2, study::kDrawOiWalls},
      {s.putOiWall, "Put OI Wall", study::kSgPutOiWall, 2, study::kDrawOiWalls},
      {s.zeroDex, "0DEX - Zero DEX", study::kSgZeroDex, 1, study::kDrawZeroDex},
  };
  // Numbers follow the rows actually drawn, so a missing level moves the later ones down.
  int lineNumber = kFirstChartLine;
  for (const CoreRow& row : rows) {
    if (!row.level.has || !InputOn(pass, row.input)) continue;
    DrawCoreLine(pass, lineNumber++, row.level.value, row.subgraph, row.style, row.label);
  }
  if (!InputOn(pass, study::kDrawFocus)) return;
  const int focusSubgraphs[payload::kFocusCount] = {study::kSgFocus1, study::kSgFocus2, study::kSgFocus3};
  for (int i = 0; i < payload::kFocusCount; ++i) {
    const payload::FocusLevel& focus = s.focus[i];
    if (!focus.valid) continue;
    DrawCoreLine(pass, lineNumber++, focus.value, focusSubgraphs[i], 0, FocusLabel(focus));
  }
}

void DrawZones(PassContext& pass, const LevelsSnapshot& s) {
  if (!InputOn(pass, study::kDrawZoneBoundaries)) return;
  const bool shade = InputOn(pass, study::kShadeZones);
  const ZoneRow rows[] = {
      {s.upsideCluster, "UCL - Resistance", study::kSgUpsideCluster, 71130},
      {s.battleZone, "BZ - Battle Zone", study::kSgBattleZone, 71131},
      {s.downsideCluster, "DCL - Support", study::kSgDownsideCluster, 71132},
  };
  int lineNumber = kZoneLineBase;
  for (const ZoneRow& row : rows) {
    if (!row.zone.valid) continue;
    const host::Rgb colour = SubgraphColour(pass, row.subgraph);
    DrawLevelLine(pass, {.lineNumber = lineNumber++, .price = row.zone.high, .colour = colour,
                         .width = 1, .style = 2, .label = row.label, .labelOn = pass.labelLines});
    DrawLevelLine(pass, {.lineNumber = lineNumber++, .price = row.zone.low, .colour = colour,
                         .width = 1, .style = 2, .label = "", .labelOn = false});
    if (shade) DrawBand(pass, row.shadeLine, row.zone.low, row.zone.high, colour, kZoneShadeTransparency);
  }
}

void DrawTopStrikes(PassContext& pass, const LevelsSnapshot& s) {
  if (!InputOn(pass, study::kDrawTopStrikes)) return;
  const int count = static_cast<int>(std::min<size_t>(s.profileRows.size(), kMaxTopStrikeLines));
  const host::Rgb colour = SubgraphColour(pass, study::kSgTopStrike);
  for (int i = 0; i < count; ++i) {
    const payload::ProfileRow& row = s.profileRows[i];
    DrawLevelLine(pass, {.lineNumber = kTopStrikeBase + i, .price = row.price, .colour = colour,
                         .width = 1, .style = 2, .label = TopStrikeLabel(row),
                         .labelOn = pass.labelLines});
  }
}

}  // namespace draw
