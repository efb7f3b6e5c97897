#include "research/level_inspector.h"

#include <cmath>
#include <optional>

#include "research/research_text.h"
#include "text/format.h"

namespace research {
namespace {

using payload::ServedStrikeGreeks;
using Column = std::vector<std::optional<double>>;

// The served columns in display order.
constexpr struct {
  const char* name;
  Column ServedStrikeGreeks::*column;
} kGreekFields[] = {
    {"gamma", &ServedStrikeGreeks::gamma}, {"delta", &ServedStrikeGreeks::delta},
    {"vanna", &ServedStrikeGreeks::vanna}, {"vega", &ServedStrikeGreeks::vega},
    {"charm", &ServedStrikeGreeks::charm}, {"oi", &ServedStrikeGreeks::oi},
    {"vol", &ServedStrikeGreeks::vol},
};
// Slack on top of half a tick, in underlying units.
constexpr double kStrikeEpsilon = 1e-8;

std::optional<double> ColumnValue(const Column& column, size_t index) {
  return index < column.size() ? column[index] : std::nullopt;
}

// Indices of the served strikes within half a chart tick of `inspectorStrike`.
std::vector<size_t> MatchingIndices(const ServedStrikeGreeks& greeks, double ratio, double tickSize,
                                    double inspectorStrike) {
  std::vector<size_t> matches;
  if (!(inspectorStrike > 0)) return matches;
  const double tolerance = tickSize * 0.5 / ratio + kStrikeEpsilon;
  for (size_t i = 0; i < greeks.strikes.size(); ++i) {
    const std::optional<double>& strike = greeks.strikes[i];
    if (strike && std::fabs(*strike / ratio - inspectorStrike) <= tolerance) matches.push_back(i);
  }
  return matches;
}

std::string FieldsLine(const ServedStrikeGreeks& greeks, size_t index) {
  std::string line = "Served columnar strike Greeks: ";
  for (const auto& field : kGreekFields) {
    line += field.name;
    line += ' ';
    line += FormatOptional(ColumnValue(greeks.*field.column, index));
    line += " | ";
  }
  return line;
}

}  // namespace

double ParseInspectorStrike(std::string_view text) {
  double strike = 0;
  text::ParseDouble(text, &strike);
  return strike;
}

void ServedStrikeGreeksLines(const ResearchView& view, std::vector<std::string>* lines,
                             double inspectorStrike) {
  if (!view.has_live) {
    lines->push_back("Served strike Greeks: missing (no map capture).");
    return;
  }
  const payload::LiveMap& live = view.live;
  const std::optional<double>& ratio = live.ratio;
  if (!ratio || !(*ratio > 0)) {
    lines->push_back("Served strike Greeks: mapping ratio missing.");
    return;
  }
  const std::vector<size_t> matches = MatchingIndices(live.greeks, *ratio, view.tick_size, inspectorStrike);
  lines->push_back("Served map " + live.resolved_symbol + " / " + live.engine + " / " +
                   live.conversion_method + " / " + live.scope);
  lines->push_back("Source time " + live.source_snapshot_time + " | expiry " + live.selected_expiration +
                   " | ratio " + FormatOptional(ratio));
  if (matches.size() == 1) {
    lines->push_back(FieldsLine(live.greeks, matches.front()));
    return;
  }
  const char* reason = matches.empty() ? "no matching strike" : "ambiguous rounded strikes";
  lines->push_back(std::string("Served strike Greeks: ") + reason + "; fields missing.");
}

}  // namespace research
