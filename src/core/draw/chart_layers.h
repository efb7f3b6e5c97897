// Every chart layer of the drawing pass. Each reads its own inputs and the snapshot, draws with
// the primitives at the line numbers of its blocks in palette/line_plan.h and records them; a
// layer that is off or lacks data draws nothing.
#pragma once

#include "draw/level_primitives.h"
#include "payload/levels_snapshot.h"

namespace draw {

using payload::LevelsSnapshot;

// Core levels and the three focus levels, numbered as they are drawn.
void DrawCoreLevels(PassContext& pass, const LevelsSnapshot& s);
// Zone bounds in pairs as drawn and, with shading on, one band per zone.
void DrawZones(PassContext& pass, const LevelsSnapshot& s);
// One line per top strike row, numbered by row.
void DrawTopStrikes(PassContext& pass, const LevelsSnapshot& s);

// Expected-move lines around the vol anchor.
void DrawDailyVolZones(PassContext& pass, const LevelsSnapshot& s);
// The band between a close vol trigger and gamma flip.
void DrawUnstableCorridor(PassContext& pass, const LevelsSnapshot& s);
// The p16-p84 band of the implied density.
void DrawForecastBand(PassContext& pass, const LevelsSnapshot& s);
// The model zero gamma line and its band, in a fixed colour.
void DrawModelZeroGamma(PassContext& pass, const LevelsSnapshot& s);
// The live IV expected-move band and its upper and lower lines.
void DrawIvBand(PassContext& pass, const LevelsSnapshot& s);
// Bands of about 2% of spot on both sides of the gamma flip.
void DrawRegimeTint(PassContext& pass, const LevelsSnapshot& s);

// NDX call wall, put wall and gamma flip, numbered as drawn.
void DrawNdxCompanionLevels(PassContext& pass, const LevelsSnapshot& s);
// Hybrid observed call wall, put wall and vol trigger.
void DrawHybridWalls(PassContext& pass, const LevelsSnapshot& s);

// Vanna walls and the vanna flip.
void DrawVanna(PassContext& pass, const LevelsSnapshot& s);
// Charm zones and the charm flip.
void DrawCharm(PassContext& pass, const LevelsSnapshot& s);
// IV call and put walls.
void DrawIvWalls(PassContext& pass, const LevelsSnapshot& s);
// Vega walls.
void DrawVegaWalls(PassContext& pass, const LevelsSnapshot& s);

// Prior day, RTH open and opening range.
void DrawSessionReferences(PassContext& pass, const LevelsSnapshot& s);
// Prior RTH close and the overnight high and low.
void DrawOvernightInventory(PassContext& pass, const LevelsSnapshot& s);
// VWAP and its three sigma bands.
void DrawVwapBands(PassContext& pass, const LevelsSnapshot& s);
// Asia, London and New York AM ranges with their top lines, and the midnight open.
void DrawTradingRanges(PassContext& pass, const LevelsSnapshot& s);

// Gamma strikes beyond the walls, put side then call side.
void DrawWallExtenders(PassContext& pass, const LevelsSnapshot& s);

// The five per-strike heatmaps, one block of numbers each.
void DrawHeatmaps(PassContext& pass, const LevelsSnapshot& s);
// Gamma profile bars at the right edge of the visible chart.
void DrawGammaProfile(PassContext& pass, const LevelsSnapshot& s);

}  // namespace draw
