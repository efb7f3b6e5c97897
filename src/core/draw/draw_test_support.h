// Shared set-up of the drawing tests: a fake host, settings whose subgraph colours name their
// subgraph, a sample snapshot, and a one-line-per-drawing rendering of the drawings store.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "draw/drawing_pass.h"
#include "host/fake_study_host.h"
#include "palette/subgraphs.h"
#include "text/format.h"

namespace draw {

// "sg7" for a colour taken from subgraph 7 by the fixture's numbering, else "rgb(r,g,b)".
inline std::string ColourName(host::Rgb c) {
  if (c.g == 1 && c.b == 2) return text::Format("sg%d", int(c.r));
  return text::Format("rgb(%d,%d,%d)", int(c.r), int(c.g), int(c.b));
}

// "71000 line 5100 'CW - Call Wall' sg0 s0 w1 scale" or "71130 rect 100-199 5120..5110 sg12 t85".
inline std::string Describe(const host::DrawingRequest& r) {
  if (r.kind == host::DrawingKind::kRectangle) {
    return text::Format("%d rect %d-%d %g..%g %s t%d", r.lineNumber, r.beginBar, r.endBar, r.beginValue,
                        r.endValue, ColourName(r.fillColour), r.transparency);
  }
  if (r.kind == host::DrawingKind::kHorizontalLine) {
    return text::Format("%d line %g '%s' %s s%d w%d%s", r.lineNumber, r.beginValue, r.text,
                        ColourName(r.colour), r.style, r.width, r.valueInPriceScale ? " scale" : "");
  }
  return text::Format("%d other '%s'", r.lineNumber, r.text);
}

class DrawTest : public ::testing::Test {
 protected:
  DrawTest() {
    for (int i = 0; i < palette::kSubgraphCount; ++i) settings.colours[i] = host::Rgb{uint8_t(i), 1, 2};
    settings.showPanel = false;
  }

  // Switches on every layer that is off by default, with two wall extenders per side.
  void EnableEveryOptionalLayer() {
    for (bool DrawSettings::*layer :
         {&DrawSettings::topStrikes, &DrawSettings::vanna, &DrawSettings::charm, &DrawSettings::vegaWalls,
          &DrawSettings::hybridWalls, &DrawSettings::shadeOpeningRange, &DrawSettings::tradingRanges,
          &DrawSettings::ivBand, &DrawSettings::regimeTint, &DrawSettings::forecastBand,
          &DrawSettings::zeroGammaModel, &DrawSettings::ivWalls, &DrawSettings::gexProfile,
          &DrawSettings::gexHeatmap, &DrawSettings::charmMap, &DrawSettings::deltaMap,
          &DrawSettings::vannaMap, &DrawSettings::vegaMap}) {
      settings.*layer = true;
    }
    settings.wallExtenders = 2;
  }

  // Runs one pass with `panel` as the panel hook.
  void Pass(const payload::LevelsSnapshot& s, bool guardTripped = false, PanelGates gates = {},
            const std::function<void(std::vector<int>&)>& panel = nullptr) {
    RunDrawingPass(sc, settings, s, guardTripped, gates, panel, &lines);
  }

  // Every drawing in the store, by line number, restricted to [from, to].
  std::vector<std::string> Rendered(int from = 0, int to = 1 << 30) const {
    std::vector<std::string> out;
    for (const auto& [number, request] : sc.drawings) {
      if (number >= from && number <= to) out.push_back(Describe(request));
    }
    return out;
  }

  // A valid snapshot with the core map only.
  static payload::LevelsSnapshot CoreSnapshot() {
    payload::LevelsSnapshot s;
    s.valid = true;
    s.spot = {true, 5000};
    s.callWall = {true, 5100};
    s.putWall = {true, 4900};
    s.gammaFlip = {true, 5010};
    s.volTrigger = {true, 4990};
    s.maxPain = {true, 5050};
    s.callOiWall = {true, 5200};
    s.putOiWall = {true, 4800};
    s.zeroDex = {true, 5025};
    return s;
  }

  // The core map plus data for every overlay, heatmap and the profile.
  static payload::LevelsSnapshot ExtendedSnapshot() {
    payload::LevelsSnapshot s;
    s.valid = true;
    s.spot = {true, 5000};
    s.gammaFlip = {true, 5010};
    s.volTrigger = {true, 5000};
    s.battleZone = {true, 4990, 5020, ""};
    s.profileRows = {{5100, 1, 1, 100, ""}};
    s.volAnchor = {true, 5000};
    s.emOneSigma = {true, 40};
    s.ndxCallWall = {true, 18100};
    s.ndxGammaFlip = {true, 17900};
    s.vannaWallCount = 2;
    s.vannaWallStrike = {5050, 4950};
    s.vannaWallIntensity = {0.456, 0};
    s.vannaFlip = {true, 5030};
    s.charmZoneCount = 2;
    s.charmZones[0] = {true, 4960, 4970, ""};
    s.charmFlip = {true, 4985};
    s.densityBand = {true, 4950, 5050};
    s.zeroGammaModel = {true, 5005};
    s.zeroGammaBand = {true, 5000, 5012};
    s.ivCallWall = {true, 5150};
    s.ivPutWall = {true, 4850};
    s.vegaWallCount = 1;
    s.vegaWallStrike[0] = 5075;
    s.hybridCallWall = {true, 5110};
    s.hybridPutWall = {true, 4890};
    s.priorDayHigh = {true, 5060};
    s.priorDayLow = {true, 4940};
    s.openingRange = {true, 4995, 5008, ""};
    s.priorRthClose = {true, 4998};
    s.overnightHigh = {true, 5030};
    s.overnightLow = {true, 4970};
    s.vwap = {true, 5002};
    s.vwapBandPlus = {payload::OptionalLevel{true, 5012}, {true, 5022}, {}};
    s.vwapBandMinus = {payload::OptionalLevel{}, {true, 4982}, {}};
    s.asiaRange = {true, 4970, 4990, ""};
    s.nyAmRange = {true, 4995, 5015, ""};
    s.midnightOpen = {true, 4999};
    s.atmIv = {true, 20};
    s.putExtenderCount = 2;
    s.putExtenderStrike = {4900, 4950};
    s.callExtenderCount = 3;
    s.callExtenderStrike = {5250, 5150, 5200};
    s.gexCells = {{4995, 5005, 1}};
    s.profilePoints = {{4990, 1}, {5000, 2}};
    return s;
  }

  host::FakeStudyHost sc;
  DrawSettings settings;
  DrawnLines lines;
  const std::vector<int>& previous = lines.previous;
};

}  // namespace draw
