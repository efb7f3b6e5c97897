#include "research/research_panel.h"

#include <algorithm>

#include "research/expiry_book.h"
#include "research/level_inspector.h"
#include "research/research_text.h"
#include "text/format.h"

namespace research {
namespace {

constexpr int kPresetPositioning = 2;
constexpr int kPresetResearch = 3;

// The history rows of the research day that carry a time, oldest first, stamped with the
// chart's tick size.
std::vector<PositioningCapture> SessionCaptures(const std::vector<PositioningCapture>& rows,
                                                const std::string& day, double tickSize) {
  std::vector<PositioningCapture> kept;
  for (const PositioningCapture& row : rows) {
    if (row.session_date != day || !(row.ts > 0)) continue;
    kept.push_back(row);
    kept.back().tick_size = tickSize;
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](const PositioningCapture& a, const PositioningCapture& b) { return a.ts < b.ts; });
  return kept;
}

void AppendChangeLines(const std::vector<PositioningCapture>& captures, std::vector<std::string>* lines) {
  const PositioningCapture& latest = captures.back();
  const PositioningCapture* first = nullptr;
  size_t matching = 0;
  for (const PositioningCapture& capture : captures) {
    if (!SameProvenance(latest, capture)) continue;
    if (first == nullptr) first = &capture;
    ++matching;
  }
  lines->push_back("First observed capture; session open is not established.");
  lines->push_back(latest.source + " / " + latest.engine + " / " + latest.conversion_method + " / " +
                   latest.scope + " / expiry " + latest.selected_expiration);
  lines->push_back("Source time " + latest.source_snapshot_time + " | ratio " +
                   FormatOptional(latest.conversion_ratio));
  if (matching < 2) {
    lines->push_back("Change unavailable: two captures with matching provenance required.");
    return;
  }
  if (first->source_snapshot_time == latest.source_snapshot_time) {
    lines->push_back("Same source capture: no new positioning observation.");
    return;
  }
  lines->push_back(LevelChangeLine("CW", first->call_wall, latest.call_wall, *first, latest));
  lines->push_back(LevelChangeLine("PW", first->put_wall, latest.put_wall, *first, latest));
  lines->push_back(LevelChangeLine("GF", first->gamma_flip, latest.gamma_flip, *first, latest));
  std::optional<double> netGexChange;
  if (first->net_gex && latest.net_gex) netGexChange = *latest.net_gex - *first->net_gex;
  lines->push_back("Net GEX change " + FormatOptional(netGexChange));
}

void AppendHistoryLines(const ResearchView& view, const std::string& day, std::vector<std::string>* lines) {
  const payload::CaptureHistory& history = view.research.history;
  const std::vector<PositioningCapture> captures = SessionCaptures(history.rows, day, view.tick_size);
  lines->push_back(text::Format("History %zu rows | excluded %s | limit %s", captures.size(),
                                history.excluded, history.limit));
  if (!history.note.empty()) lines->push_back(history.note);
  if (captures.empty()) {
    lines->push_back("No dated capture available for this session.");
    return;
  }
  AppendChangeLines(captures, lines);
}

}  // namespace

std::vector<std::string> BuildResearchPanelLines(const ResearchView& view, bool changesOn, bool lensOn,
                                                 bool inspectorOn, int lensIndex, double inspectorStrike,
                                                 const std::string& researchDay) {
  std::vector<std::string> lines;
  if (!view.last_alert.empty()) lines.push_back("Structure alert: " + view.last_alert);
  if (!changesOn && !lensOn && !inspectorOn) return lines;
  lines.push_back(view.status);
  if (view.captured) {
    if (changesOn) AppendHistoryLines(view, researchDay, &lines);
    if ((lensOn || inspectorOn) && !AppendExpiryBookLines(view.research.book, lensOn, inspectorOn, lensIndex,
                                                          inspectorStrike, researchDay, &lines)) {
      return lines;  // no valid session day: nothing can be placed after the book header
    }
  }
  if (inspectorOn) ServedStrikeGreeksLines(view, &lines, inspectorStrike);
  return lines;
}

std::vector<std::string> ResearchPanelLines(const ResearchView& view, const ResearchPanelInputs& inputs) {
  const bool research = inputs.workflowPreset == kPresetResearch;
  return BuildResearchPanelLines(view, inputs.captureChanges || inputs.workflowPreset == kPresetPositioning,
                                 inputs.expiryLens || research, inputs.levelInspector || research,
                                 inputs.lensIndex, ParseInspectorStrike(inputs.inspectorStrikeText),
                                 inputs.researchDay);
}

std::string LevelChangeLine(const char* label, const std::optional<double>& firstLevel,
                            const std::optional<double>& latestLevel, const PositioningCapture& first,
                            const PositioningCapture& latest) {
  const std::optional<double> positioning = PositioningMove(firstLevel, latestLevel, first, latest);
  std::optional<double> basis;
  if (firstLevel && first.conversion_ratio && latest.conversion_ratio && *first.conversion_ratio > 0) {
    basis = (*latest.conversion_ratio - *first.conversion_ratio) * (*firstLevel / *first.conversion_ratio);
  }
  return std::string(label) + " positioning " + FormatOptional(positioning) + " | conversion/basis " +
         FormatOptional(basis) + " (chart points)";
}

}  // namespace research
