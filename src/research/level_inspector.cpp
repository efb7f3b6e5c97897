#include "research/level_inspector.h"

#include <cmath>
#include <optional>

#include "research/research_text.h"
#include "text/format.h"

namespace research {
namespace {

constexpr const char* kGreekFields[] = {"gamma", "delta", "vanna", "vega", "charm", "oi", "vol"};
// Slack on top of half a tick, in underlying units.
constexpr double kStrikeEpsilon = 1e-8;

std::optional<double> MappingRatio(const json::Value& live) {
  if (std::optional<double> ratio = MemberOptional(&live, "conversion_ratio")) return ratio;
  return MemberOptional(MemberOf(&live, "display_levels"), "conversion_ratio");
}

const json::Value* ArrayMember(const json::Value* object, const char* key) {
  const json::Value* member = MemberOf(object, key);
  return member != nullptr && member->kind == json::kArray ? member : nullptr;
}

// The element `index` of the array `key` of `greeks` as a finite number, else absent.
std::optional<double> ColumnValue(const json::Value* greeks, const char* key, size_t index) {
  const json::Value* column = ArrayMember(greeks, key);
  double number = 0;
  if (column == nullptr || index >= column->elements.size() ||
      !json::NumberOfValue(&column->elements[index], &number)) {
    return std::nullopt;
  }
  return number;
}

// Indices of the served strikes within half a chart tick of `inspectorStrike`.
std::vector<size_t> MatchingIndices(const json::Value* greeks, double ratio, double tickSize,
                                    double inspectorStrike) {
  std::vector<size_t> matches;
  const json::Value* strikes = ArrayMember(greeks, "strikes");
  if (strikes == nullptr || !(inspectorStrike > 0)) return matches;
  const double tolerance = tickSize * 0.5 / ratio + kStrikeEpsilon;
  for (size_t i = 0; i < strikes->elements.size(); ++i) {
    double strike = 0;
    if (!json::NumberOfValue(&strikes->elements[i], &strike)) continue;
    if (std::fabs(strike / ratio - inspectorStrike) <= tolerance) matches.push_back(i);
  }
  return matches;
}

std::string FieldsLine(const json::Value* greeks, size_t index) {
  std::string line = "Served columnar strike Greeks: ";
  for (const char* field : kGreekFields) {
    line += field;
    line += ' ';
    line += FormatOptional(ColumnValue(greeks, field, index));
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
  const json::Value& live = view.live;
  const std::optional<double> ratio = MappingRatio(live);
  if (!ratio || !(*ratio > 0)) {
    lines->push_back("Served strike Greeks: mapping ratio missing.");
    return;
  }
  const json::Value* greeks = MemberOf(MemberOf(&live, "display_levels"), "strike_greeks");
  const std::vector<size_t> matches =
      MatchingIndices(greeks, *ratio, view.tick_size, inspectorStrike);
  lines->push_back("Served map " + MemberFieldText(&live, "resolved_symbol") + " / " +
                   MemberFieldText(&live, "engine") + " / " +
                   MemberFieldText(&live, "conversion_method") + " / " +
                   MemberFieldText(&live, "scope"));
  lines->push_back("Source time " + MemberFieldText(&live, "source_snapshot_time") + " | expiry " +
                   MemberFieldText(&live, "selected_expiration") + " | ratio " +
                   FormatOptional(ratio));
  if (matches.size() == 1) {
    lines->push_back(FieldsLine(greeks, matches.front()));
    return;
  }
  const char* reason = matches.empty() ? "no matching strike" : "ambiguous rounded strikes";
  lines->push_back(std::string("Served strike Greeks: ") + reason + "; fields missing.");
}

}  // namespace research
