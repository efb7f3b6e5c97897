#include "panel/context_rows.h"

#include <algorithm>
#include <cmath>

#include "panel/text_format.h"
#include "text/format.h"

namespace panel {
namespace {

constexpr double kUnstableCorridorShare = 0.0035;

const char* RegimeSentence(bool longGamma, bool positiveDelta) {
  if (longGamma) {
    return positiveDelta ? "  Maximum dampening: hedging fades rallies AND buys dips."
                         : "  Dampened but heavy: gamma fades moves, delta leans on rallies.";
  }
  return positiveDelta ? "  Unstable upside: hedging amplifies moves, flow supports dips."
                       : "  Maximum acceleration: hedging sells weakness, buys strength.";
}

bool HasForecastData(const payload::LevelsSnapshot& s) {
  return s.charmHedgeUsd.has || s.vannaHedgeUsdPerVolPoint.has ||
         (s.pressureZoneLower.has && s.pressureZoneUpper.has);
}

}  // namespace

void AddRegimeRows(const payload::LevelsSnapshot& s, std::vector<PanelLine>* lines) {
  if (!s.netGex.has) return;
  const bool longGamma = s.netGex.value >= 0;
  const char* gamma = longGamma ? "LONG-gamma" : "SHORT-gamma";
  const host::Rgb colour = longGamma ? kGreen : kRed;
  if (!s.netDex.has) {
    lines->push_back(MakeLine(text::Format("  %s", gamma), colour, true));
    lines->push_back(MakeLine("  Delta flow not in this payload - gamma regime only.", kSecondaryColour));
    return;
  }
  const bool positiveDelta = s.netDex.value >= 0;
  lines->push_back(MakeLine(text::Format("  %s - %s", gamma, positiveDelta ? "+delta flow" : "-delta flow"),
                            colour, true));
  lines->push_back(MakeLine(RegimeSentence(longGamma, positiveDelta), kSecondaryColour));
}

void AddDriftRows(const payload::LevelsSnapshot& s, std::vector<PanelLine>* lines) {
  if (!s.netCum.has) return;
  lines->push_back(MakeLine("- Net premium drift -", kHeaderColour));
  lines->push_back(MakeLine(text::Format("  Net premium drift  %s", FormatMoney(s.netCum)),
                            s.netCum.value >= 0 ? kGreen : kRed, true));
  std::string split = text::Format("  calls %s | puts %s", FormatMoney(s.callCum), FormatMoney(s.putCum));
  if (s.totalVol.has && s.totalVol.value > 0)
    split += text::Format(" | %s", FormatContracts(s.totalVol.value));
  lines->push_back(MakeLine(std::move(split), kSecondaryColour));
}

void AddForecastRows(const host::StudyHost& sc, const payload::LevelsSnapshot& s,
                     std::vector<PanelLine>* lines) {
  if (!HasForecastData(s)) return;
  lines->push_back(MakeLine("- Forecast - dealer hedging (v4.1) -", kHeaderColour));
  if (s.charmHedgeUsd.has && !s.charmHedgeDirection.empty()) {
    lines->push_back(MakeLine(
        text::Format("  Charm %s %s into close", s.charmHedgeDirection, FormatMoney(s.charmHedgeUsd)),
        s.charmHedgeUsd.value >= 0 ? kGreen : kRed));
  }
  if (s.vannaHedgeUsdPerVolPoint.has && !s.vannaHedgeDirection.empty()) {
    lines->push_back(MakeLine(text::Format("  Vanna %s %s per IV pt", s.vannaHedgeDirection,
                                           FormatMoney(s.vannaHedgeUsdPerVolPoint)),
                              kSecondaryColour));
  }
  if (s.pressureZoneLower.has && s.pressureZoneUpper.has) {
    lines->push_back(
        MakeLine(text::Format("  Pressure zone %s - %s", FormatPriceText(sc, s.pressureZoneLower.value),
                              FormatPriceText(sc, s.pressureZoneUpper.value)),
                 kSecondaryColour));
  }
}

void AddUnstableZoneRows(const host::StudyHost& sc, const payload::LevelsSnapshot& s,
                         std::vector<PanelLine>* lines) {
  if (!s.gammaFlip.has || !s.volTrigger.has || !s.spot.has || !(s.spot.value > 0)) return;
  const double flip = s.gammaFlip.value, trigger = s.volTrigger.value;
  if (!(std::fabs(trigger - flip) <= s.spot.value * kUnstableCorridorShare)) return;
  const double lo = std::min(flip, trigger), hi = std::max(flip, trigger);
  lines->push_back(MakeLine(text::Format("  Unstable zone %s - %s: VT ~ G-Flip corridor.",
                                         FormatPriceText(sc, lo), FormatPriceText(sc, hi)),
                            kAmber));
  lines->push_back(MakeLine("  Elevated realized vol has been typical inside it.", kSecondaryColour));
}

void AddMapAndModelRows(const payload::LevelsSnapshot& s, std::vector<PanelLine>* lines) {
  if (!s.focusSummary.empty()) {
    lines->push_back(MakeLine(text::Format("  Your map: %s", s.focusSummary), kSecondaryColour));
  }
  if (!s.modelSummary.empty()) {
    lines->push_back(MakeLine(text::Format("  Own model: %s", s.modelSummary), kSecondaryColour));
  }
}

void AddContextSection(const host::StudyHost& sc, const payload::LevelsSnapshot& s, bool drift, bool forecast,
                       std::vector<PanelLine>* lines) {
  if (s.netGex.has) {
    lines->push_back(MakeLine("- Regime -", kHeaderColour));
    AddRegimeRows(s, lines);
  }
  if (drift) AddDriftRows(s, lines);
  if (forecast) AddForecastRows(sc, s, lines);
  AddUnstableZoneRows(sc, s, lines);
  AddMapAndModelRows(s, lines);
}

}  // namespace panel
