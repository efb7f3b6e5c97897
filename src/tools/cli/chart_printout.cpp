#include "cli/chart_printout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "panel/panel_line.h"
#include "palette/subgraphs.h"
#include "text/control_characters.h"
#include "render/time_axis.h"

namespace cli {
namespace {

constexpr int kRegionTop = 8;
constexpr int kFooterHeight = 22;

// The rows of the panel texts that `keep` accepts.
std::vector<std::string> RowsOf(const std::vector<host::DrawingRequest>& drawings,
                                const std::function<bool(const host::DrawingRequest&)>& keep) {
  // Keyed by height, highest first; within a row by bar, then line number.
  std::map<double, std::vector<const host::DrawingRequest*>, std::greater<>> rows;
  for (const host::DrawingRequest& d : drawings) {
    const bool panelText =
        d.kind == host::DrawingKind::kText && d.relativeVertical && std::isfinite(d.beginValue);
    if (panelText && keep(d)) rows[d.beginValue].push_back(&d);
  }
  std::vector<std::string> out;
  for (auto& [height, texts] : rows) {
    std::stable_sort(
        texts.begin(), texts.end(), [](const host::DrawingRequest* a, const host::DrawingRequest* b) {
          return a->beginBar != b->beginBar ? a->beginBar < b->beginBar : a->lineNumber < b->lineNumber;
        });
    std::string row;
    for (const host::DrawingRequest* text : texts) row += text->text;
    while (!row.empty() && (row.back() == ' ' || row.back() == '\t')) row.pop_back();
    out.push_back(row);
  }
  return out;
}

}  // namespace

void FitChartToPicture(chart::ChartData* chart, int width, int height) {
  const bool timed = std::any_of(chart->bars.begin(), chart->bars.end(), chart::HasTime);
  const int below = kFooterHeight + (timed ? render::kTimeAxisHeight : 0);
  chart->region = {kRegionTop, std::max(height - below, kRegionTop + 1), 0,
                   std::max(width - kPriceAxisWidth, 1)};
  const int regionWidth = chart->region.right - chart->region.left;
  chart->rightMargin = std::min(static_cast<int>(regionWidth * kRightMarginShare), kMaxRightMargin);
  // The margin takes bars, not width from them: the study measures its panel in bars.
  chart->barSpacing = std::max(regionWidth / kChartVisibleBars, 1);
  // As many bars as the spacing fits, so that the bars (and the bands over them) reach the margin.
  chart->visible =
      chart::LastBars(static_cast<int>(chart->bars.size()), chart::BarsWidth(*chart) / chart->barSpacing);
}

void ResizeChartToPicture(chart::ChartData* chart, int width, int height) {
  const host::BarRange shown = chart->visible;
  const int spacing = std::max(chart->barSpacing, 1);
  FitChartToPicture(chart, width, height);
  if (shown.last < shown.first) return;
  const int count = std::max(chart::BarsWidth(*chart) / spacing, 1);
  chart::ShowBars(chart, shown.last - count + 1, shown.last);
}

std::vector<std::string> PanelRows(const std::vector<host::DrawingRequest>& drawings) {
  return RowsOf(drawings, [](const host::DrawingRequest&) { return true; });
}

std::string PanelAndLogText(const chart::ChartHost& host) {
  std::string out = "Panel:\n";
  const std::vector<std::string> rows = PanelRows(host.Drawings().Sorted());
  if (rows.empty()) out += "  (no panel on the chart)\n";
  // The panel and the log carry the service's texts: printed, they must stay text.
  for (const std::string& row : rows) out += "  " + text::ReplaceControlCharacters(row) + "\n";
  out += "Message log:\n";
  const std::vector<chart::LogEntry>& log = host.Log();
  if (log.empty()) out += "  (no entries)\n";
  for (const chart::LogEntry& entry : log) out += "  " + text::ReplaceControlCharacters(entry.text) + "\n";
  return out;
}

bool MapOnChart(const chart::ChartHost& host) {
  const int lastBar = host.BarCount() - 1;
  for (const auto& [number, entry] : host.Subgraphs().Entries()) {
    if (host.Subgraphs().ValueAt(number, lastBar) != 0) return true;
  }
  return false;
}

std::vector<std::string> StudyStatusLines(const chart::ChartHost& host) {
  const host::Rgb warning = host.SubgraphColour(palette::kSgPanelWarning);
  std::vector<std::string> lines = RowsOf(host.Drawings().Sorted(), [&](const host::DrawingRequest& d) {
    return d.colour == panel::kStatusColour || d.colour == warning;
  });
  if (!lines.empty()) return lines;
  for (const chart::LogEntry& entry : host.Log()) {
    if (entry.show) lines.push_back(entry.text);
  }
  return lines;
}

}  // namespace cli
