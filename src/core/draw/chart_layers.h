// Every chart layer of the drawing pass. Each reads its own inputs and the snapshot, draws with
// the primitives and records its line numbers; a layer that is off or lacks data draws nothing.
#pragma once

#include "draw/level_primitives.h"
#include "payload/levels_snapshot.h"

namespace draw {

using payload::LevelsSnapshot;

// Core levels and the three focus levels, numbered 71000 upwards as they are drawn.
void DrawCoreLevels(PassContext& pass, const LevelsSnapshot& s);
// Zone bounds in pairs from 71100 and, with shading on, bands 71130-71132.
void DrawZones(PassContext& pass, const LevelsSnapshot& s);
// One line per top strike row, 71200 + row index.
void DrawTopStrikes(PassContext& pass, const LevelsSnapshot& s);

// Expected-move lines around the vol anchor, 71136-71142.
void DrawDailyVolZones(PassContext& pass, const LevelsSnapshot& s);
// The band between a close vol trigger and gamma flip, 71134.
void DrawUnstableCorridor(PassContext& pass, const LevelsSnapshot& s);
// The p16-p84 band of the implied density, 71850.
void DrawForecastBand(PassContext& pass, const LevelsSnapshot& s);
// The model zero gamma line 71851 and its band 71852, in a fixed colour.
void DrawModelZeroGamma(PassContext& pass, const LevelsSnapshot& s);
// The live IV expected-move band 71560 and its lines 71561, 71562.
void DrawIvBand(PassContext& pass, const LevelsSnapshot& s);
// Bands of about 2% of spot on both sides of the gamma flip, 71564 and 71565.
void DrawRegimeTint(PassContext& pass, const LevelsSnapshot& s);

// NDX call wall, put wall and gamma flip, 71144 upwards as drawn.
void DrawNdxCompanionLevels(PassContext& pass, const LevelsSnapshot& s);
// Hybrid observed call wall, put wall and vol trigger, 71525-71527.
void DrawHybridWalls(PassContext& pass, const LevelsSnapshot& s);

// Vanna walls 71500-71507 and the vanna flip 71508.
void DrawVanna(PassContext& pass, const LevelsSnapshot& s);
// Charm zones 71510-71515 and the charm flip 71516.
void DrawCharm(PassContext& pass, const LevelsSnapshot& s);
// IV call and put walls, 72100 and 72101.
void DrawIvWalls(PassContext& pass, const LevelsSnapshot& s);
// Vega walls, 71518-71523.
void DrawVegaWalls(PassContext& pass, const LevelsSnapshot& s);

// Prior day, RTH open and opening range, 71530-71535.
void DrawSessionReferences(PassContext& pass, const LevelsSnapshot& s);
// Prior RTH close and the overnight high and low, 71537-71539.
void DrawOvernightInventory(PassContext& pass, const LevelsSnapshot& s);
// VWAP and its three sigma bands, 71541-71547.
void DrawVwapBands(PassContext& pass, const LevelsSnapshot& s);
// Asia, London and New York AM ranges with their top lines, and the midnight open.
void DrawTradingRanges(PassContext& pass, const LevelsSnapshot& s);

// Gamma strikes beyond the walls, put side 71570-71572, call side 71573-71575.
void DrawWallExtenders(PassContext& pass, const LevelsSnapshot& s);

// The five per-strike heatmaps, 71600-71839 in blocks of 50.
void DrawHeatmaps(PassContext& pass, const LevelsSnapshot& s);
// Gamma profile bars at the right edge of the visible chart, 71900-71979.
void DrawGammaProfile(PassContext& pass, const LevelsSnapshot& s);

}  // namespace draw
