#include "panel/fear_rows.h"

#include <cmath>
#include <string>

#include "context/percentile_tables.h"
#include "text/format.h"

namespace panel {
namespace {

constexpr host::Rgb kBlue{160, 200, 240};
constexpr host::Rgb kInputListColour{150, 160, 178};
constexpr host::Rgb kMutedColour{140, 150, 168};
constexpr int kInputsForComposite = 2;

struct FearInput {
  std::string label;
  std::string valueText;
  double percentile = 0;
};

struct Band {
  double below;  // upper bound of the band's percentile range (exclusive)
  const char* name;
  host::Rgb colour;
  const char* verdict;
};

const Band kBands[] = {
    {25, "Calm", kGreen, "  Structurally quiet vs history. Premium is cheap."},
    {60, "Normal", kBlue, "  Mid-range regime vs 12 years of sessions."},
    {85, "Elevated", kAmber, "  Stress building beyond the historical norm."},
    {95, "High stress", kRed, "  Top-decile stress. Gamma is thin; levels break more easily."},
    {INFINITY, "Extreme", kRed, "  Crisis-regime company: 2015 / 2018 / 2020 / 2022 panics."},
};

const Band& BandOf(double pct) {
  for (const Band& band : kBands) {
    if (pct < band.below) return band;
  }
  return kBands[4];
}

int RoundedPercent(double fraction) { return static_cast<int>(std::floor(fraction * 100 + 0.5)); }

// Adds the input when its percentile is known; true when added.
bool AddInput(std::vector<FearInput>* inputs, const char* label, std::string valueText, double x,
              const context::PercentileTable& table) {
  const double percentile = context::PercentileFromTable(x, table);
  if (percentile < 0) return false;
  inputs->push_back({label, std::move(valueText), percentile});
  return true;
}

std::string InputList(const std::vector<FearInput>& inputs) {
  std::string list = "  ";
  for (size_t i = 0; i < inputs.size(); ++i) {
    list += text::Format("%s%s %s p%d", i == 0 ? "" : " | ", inputs[i].label, inputs[i].valueText,
                         RoundedPercent(inputs[i].percentile));
  }
  return list;
}

}  // namespace

void AddFearRows(const payload::LevelsSnapshot& s, const payload::OptionalLevel& vixLevel,
                 const payload::OptionalLevel& qqqRealizedVol, std::vector<PanelLine>* lines) {
  std::vector<FearInput> inputs;
  std::vector<std::string> missing;
  bool flipAdded = false;
  if (s.gammaFlip.has && s.spot.has && s.spot.value > 0) {
    const double stress = (s.gammaFlip.value - s.spot.value) / s.spot.value;
    if (std::isfinite(stress)) {
      flipAdded = AddInput(&inputs, "Flip stress", text::FixedPoint(stress * 100, 2) + "%", stress,
                           context::FlipStressTable());
    }
  }
  if (!flipAdded) missing.push_back("Flip stress");
  if (qqqRealizedVol.has) {
    AddInput(&inputs, "Realized vol 5d", text::FixedPoint(qqqRealizedVol.value * 100, 1) + "%",
             qqqRealizedVol.value, context::RealizedVolTable());
  } else {
    missing.push_back("Realized vol 5d");
  }
  if (vixLevel.has) {
    AddInput(&inputs, "VIX", text::FixedPoint(vixLevel.value, 2), vixLevel.value, context::VixTable());
  } else {
    missing.push_back("VIX");
  }

  if (inputs.size() < kInputsForComposite) {
    if (vixLevel.has) {
      lines->push_back(MakeLine(text::Format("  VIX %s  (partial read - composite needs %d inputs)",
                                             text::FixedPoint(vixLevel.value, 2), kInputsForComposite),
                                kSecondaryColour));
    } else {
      lines->push_back(
          MakeLine("  Fear score warming up - inputs arrive on the next refresh.", kMutedColour));
    }
    return;
  }

  double sum = 0;
  for (const FearInput& input : inputs) sum += input.percentile;
  const double score = sum / inputs.size() * 100;
  const double pct = context::PercentileFromTable(score, context::CompositeTable()) * 100;
  const Band& band = BandOf(pct);
  lines->push_back(MakeLine(text::Format("  %.0f   p%d over 12y of history   %s", score,
                                         static_cast<int>(std::floor(pct + 0.5)), band.name),
                            band.colour, true));
  lines->push_back(MakeLine(band.verdict, kSecondaryColour));
  lines->push_back(MakeLine(InputList(inputs), kInputListColour));
  if (!missing.empty()) {
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i) names += (i == 0 ? "" : ", ") + missing[i];
    lines->push_back(MakeLine(text::Format("  Partial read - missing: %s.", names), kMutedColour));
  }
}

}  // namespace panel
