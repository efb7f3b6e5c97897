// The core map: core levels, focus levels, zones and top strikes.
#include <algorithm>
#include <string>

#include "draw/chart_layers.h"
#include "palette/line_plan.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {
namespace {

using palette::LineCount;
using palette::LineNumber;

constexpr int kCoreRowCount = 8;
constexpr int kZoneCount = 3;
constexpr int kZoneShadeTransparency = 85;

static_assert(kCoreRowCount + payload::kFocusCount <= LineCount(palette::kLbCoreLevels));
static_assert(2 * kZoneCount <= LineCount(palette::kLbZoneBounds));
static_assert(kZoneCount <= LineCount(palette::kLbZoneShades));

struct CoreRow {
  const payload::OptionalLevel& level;
  const char* label;
  int subgraph;
  int style;
  bool on;
};

struct ZoneRow {
  const payload::ZoneBand& zone;
  const char* label;
  int subgraph;
};

std::string FocusLabel(const payload::FocusLevel& focus) {
  return text::Format("%s - %s%s%s", focus.shortLabel, focus.label, focus.confidence.empty() ? "" : " - ",
                      focus.confidence);
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
                       .width = pass.settings.lineWidth,
                       .style = style,
                       .label = label,
                       .labelOn = pass.settings.labelLines,
                       .valueInPriceScale = pass.settings.valueInPriceScale});
}

}  // namespace

void DrawCoreLevels(PassContext& pass, const LevelsSnapshot& s) {
  const CoreRow rows[kCoreRowCount] = {
      {s.callWall, "CW - Call Wall", palette::kSgCallWall, 0, pass.settings.coreLevels},
      {s.putWall, "PW - Put Wall", palette::kSgPutWall, 0, pass.settings.coreLevels},
      {s.gammaFlip, "GF - Gamma Flip", palette::kSgGammaFlip, 1, pass.settings.coreLevels},
      {s.volTrigger, "VT/HVL - Vol Trigger", palette::kSgVolTrigger, 2, pass.settings.volTrigger},
      {s.maxPain, "MP - Max Pain", palette::kSgMaxPain, 1, pass.settings.maxPain},
      {s.callOiWall, "Call OI Wall", palette::kSgCallOiWall, 2, pass.settings.oiWalls},
      {s.putOiWall, "Put OI Wall", palette::kSgPutOiWall, 2, pass.settings.oiWalls},
      {s.zeroDex, "0DEX - Zero DEX", palette::kSgZeroDex, 1, pass.settings.zeroDex},
  };
  // Numbers follow the rows actually drawn, so a missing level moves the later ones down.
  int lineNumber = LineNumber(palette::kLbCoreLevels);
  for (const CoreRow& row : rows) {
    if (!row.level.has || !row.on) continue;
    DrawCoreLine(pass, lineNumber++, row.level.value, row.subgraph, row.style, row.label);
  }
  if (!pass.settings.focus) return;
  const int focusSubgraphs[payload::kFocusCount] = {palette::kSgFocus1, palette::kSgFocus2,
                                                    palette::kSgFocus3};
  for (int i = 0; i < payload::kFocusCount; ++i) {
    const payload::FocusLevel& focus = s.focus[i];
    if (!focus.valid) continue;
    DrawCoreLine(pass, lineNumber++, focus.value, focusSubgraphs[i], 0, FocusLabel(focus));
  }
}

void DrawZones(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.zoneBoundaries) return;
  const bool shade = pass.settings.shadeZones;
  // Each zone keeps its own shading number; the bounds take the next pair as drawn.
  const ZoneRow rows[kZoneCount] = {
      {s.upsideCluster, "UCL - Resistance", palette::kSgUpsideCluster},
      {s.battleZone, "BZ - Battle Zone", palette::kSgBattleZone},
      {s.downsideCluster, "DCL - Support", palette::kSgDownsideCluster},
  };
  int lineNumber = LineNumber(palette::kLbZoneBounds);
  for (int i = 0; i < kZoneCount; ++i) {
    const ZoneRow& row = rows[i];
    if (!row.zone.valid) continue;
    const host::Rgb colour = SubgraphColour(pass, row.subgraph);
    DrawLevelLine(pass, {.lineNumber = lineNumber++,
                         .price = row.zone.high,
                         .colour = colour,
                         .width = 1,
                         .style = 2,
                         .label = row.label,
                         .labelOn = pass.settings.labelLines});
    DrawLevelLine(pass, {.lineNumber = lineNumber++,
                         .price = row.zone.low,
                         .colour = colour,
                         .width = 1,
                         .style = 2,
                         .label = "",
                         .labelOn = false});
    if (shade) {
      DrawBand(pass, LineNumber(palette::kLbZoneShades, i), row.zone.low, row.zone.high, colour,
               kZoneShadeTransparency);
    }
  }
}

void DrawTopStrikes(PassContext& pass, const LevelsSnapshot& s) {
  if (!pass.settings.topStrikes) return;
  // Rows beyond the block would take numbers of other drawings.
  const int count =
      static_cast<int>(std::min<size_t>(s.profileRows.size(), LineCount(palette::kLbTopStrikes)));
  const host::Rgb colour = SubgraphColour(pass, palette::kSgTopStrike);
  for (int i = 0; i < count; ++i) {
    const payload::ProfileRow& row = s.profileRows[i];
    DrawLevelLine(pass, {.lineNumber = LineNumber(palette::kLbTopStrikes, i),
                         .price = row.price,
                         .colour = colour,
                         .width = 1,
                         .style = 2,
                         .label = TopStrikeLabel(row),
                         .labelOn = pass.settings.labelLines});
  }
}

}  // namespace draw
