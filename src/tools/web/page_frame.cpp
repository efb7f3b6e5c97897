#include "web/page_frame.h"

#include <cmath>
#include <vector>

#include "chart/dialog_limits.h"
#include "chart/input_sections.h"
#include "jsonout/json_writer.h"
#include "platform/civil_date.h"
#include "render/chart_renderer.h"
#include "render/price_scale.h"
#include "render/svg_canvas.h"
#include "text/format.h"
#include "web/frame_readouts.h"
#include "web/page_changes.h"

namespace web {
namespace {

std::string Hex(host::Rgb colour) { return text::Format("#%02x%02x%02x", colour.r, colour.g, colour.b); }

void WriteInputs(jsonout::JsonWriter& w, const chart::InputStore& inputs) {
  w.BeginArray();
  for (const auto& [slot, entry] : inputs.Entries()) {
    const host::InputDeclaration& d = entry.declaration;
    w.BeginObject();
    w.Key("slot");
    w.Int(slot);
    w.Key("label");
    w.String(d.label);
    w.Key("kind");
    w.String(chart::InputKindName(d.kind));
    w.Key("value");
    w.String(InputValueText(entry));
    w.Key("section");
    w.String(chart::InputSection(slot, d.label));
    w.Key("takes");
    w.String(chart::InputTakes(d, chart::DialogLimits()));
    if (d.min) {
      w.Key("min");
      w.Number(*d.min);
    }
    if (d.max) {
      w.Key("max");
      w.Number(*d.max);
    }
    if (d.kind == host::InputKind::kChoice) {
      w.Key("choices");
      w.BeginArray();
      for (const std::string& choice : chart::ChoiceTexts(d)) w.String(choice);
      w.EndArray();
    }
    w.EndObject();
  }
  w.EndArray();
}

void WriteSubgraphs(jsonout::JsonWriter& w, const chart::SubgraphStore& subgraphs) {
  w.BeginArray();
  for (const auto& [number, entry] : subgraphs.Entries()) {
    w.BeginObject();
    w.Key("number");
    w.Int(number);
    w.Key("name");
    w.String(entry.declaration.name);
    w.Key("colour");
    w.String(Hex(subgraphs.Colour(number)));
    w.EndObject();
  }
  w.EndArray();
}

void WriteLog(jsonout::JsonWriter& w, const std::vector<chart::LogEntry>& log) {
  w.BeginArray();
  const size_t first = log.size() > kFrameLogEntries ? log.size() - kFrameLogEntries : 0;
  for (size_t i = first; i < log.size(); ++i) {
    w.BeginObject();
    w.Key("text");
    w.String(log[i].text);
    w.Key("show");
    w.Bool(log[i].show);
    w.EndObject();
  }
  w.EndArray();
}

// The sizes the page may ask for (ReadChartSize), so that it asks for none it would be refused.
void WriteSizeLimits(jsonout::JsonWriter& w) {
  w.Key("sizeLimits");
  w.BeginObject();
  w.Key("minWidth");
  w.Int(kMinChartWidth);
  w.Key("minHeight");
  w.Int(kMinChartHeight);
  w.Key("maxWidth");
  w.Int(kMaxChartWidth);
  w.Key("maxHeight");
  w.Int(kMaxChartHeight);
  w.EndObject();
}

void WriteGeometry(jsonout::JsonWriter& w, const chart::ChartData& chart) {
  w.Key("region");
  w.BeginObject();
  w.Key("left");
  w.Int(chart.region.left);
  w.Key("right");
  w.Int(chart.region.right);
  w.Key("top");
  w.Int(chart.region.top);
  w.Key("bottom");
  w.Int(chart.region.bottom);
  w.EndObject();
  w.Key("rightMargin");
  w.Int(chart.rightMargin);
  w.Key("barSpacing");
  w.Int(chart.barSpacing);
  w.Key("visible");
  w.BeginObject();
  w.Key("first");
  w.Int(chart.visible.first);
  w.Key("last");
  w.Int(chart.visible.last);
  w.EndObject();
  w.Key("barCount");
  w.Int(static_cast<long long>(chart.bars.size()));
}

// The prices the picture spans, and whether they fit the bars or the user set them.
// The New York time of `bar`, or null when it is not a bar with a time.
void WriteBarTime(jsonout::JsonWriter& w, const chart::ChartData& chart, int bar, platform::Services& zone) {
  if (bar < 0 || bar >= static_cast<int>(chart.bars.size()) ||
      !chart::HasTime(chart.bars[static_cast<size_t>(bar)])) {
    w.Null();
    return;
  }
  w.String(NewYorkTimeText(chart.bars[static_cast<size_t>(bar)].time, zone));
}

// The chart's own time: its newest bar's.
void WriteChartTime(jsonout::JsonWriter& w, const chart::ChartData& chart, platform::Services& zone) {
  w.Key("chartTime");
  WriteBarTime(w, chart, static_cast<int>(chart.bars.size()) - 1, zone);
}

}  // namespace

std::string InputValueText(const chart::InputEntry& entry) {
  const double number = entry.value.number;
  switch (entry.declaration.kind) {
    case host::InputKind::kYesNo: return number != 0 ? "Yes" : "No";
    case host::InputKind::kInteger: return text::Format("%.0f", std::trunc(number));
    case host::InputKind::kFloat: return text::RoundTripDouble(number);
    case host::InputKind::kText: return entry.value.text;
    case host::InputKind::kChoice: {
      const std::vector<std::string> choices = chart::ChoiceTexts(entry.declaration);
      const double index = std::trunc(number);
      if (index >= 0 && index < static_cast<double>(choices.size()))
        return choices[static_cast<size_t>(index)];
      return text::Format("%.0f", index);
    }
  }
  return "";
}

std::string NewYorkTimeText(double utc, platform::Services& zone) {
  if (!std::isfinite(utc)) return "";
  const double local = utc + zone.NewYorkUtcOffsetSeconds(utc);
  const double days = std::floor(local / 86400);
  const platform::CivilDate date = platform::CivilFromDays(static_cast<int64_t>(days));
  const int seconds = static_cast<int>(local - days * 86400);
  return text::Format("%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
}

std::string FrameJson(const chart::ChartHost& host, const FrameFacts& facts, platform::Services& zone) {
  const std::vector<host::DrawingRequest> drawings = host.Drawings().Sorted();
  render::SvgCanvas svg(facts.width, facts.height, render::SvgUse::kPage);
  render::RenderChart(host.Chart(), drawings, svg, facts.history);
  std::string out;
  jsonout::JsonWriter w(&out, jsonout::JsonWriter::Layout::kCompact);
  w.BeginObject();
  w.Key("version");
  w.Int(facts.version);
  w.Key("symbol");
  w.String(host.Chart().symbol);
  w.Key("width");
  w.Int(facts.width);
  w.Key("height");
  w.Int(facts.height);
  w.Key("svg");
  w.String(svg.Document());
  WriteGeometry(w, host.Chart());
  WriteSizeLimits(w);
  WriteReadouts(w, host.Chart(), drawings, zone);
  WriteChartTime(w, host.Chart(), zone);
  w.Key("clock");
  w.String(NewYorkTimeText(facts.now, zone));
  w.Key("lastAnswer");
  if (facts.lastAnswer) {
    w.BeginObject();
    w.Key("time");
    w.String(NewYorkTimeText(facts.lastAnswer->time, zone));
    w.Key("status");
    w.Int(facts.lastAnswer->status);
    w.EndObject();
  } else {
    w.Null();
  }
  w.Key("log");
  WriteLog(w, host.Log());
  w.Key("inputs");
  WriteInputs(w, host.Inputs());
  w.Key("subgraphs");
  WriteSubgraphs(w, host.Subgraphs());
  w.Key("history");
  w.BeginObject();
  w.Key("on");
  w.Bool(facts.historyOn);
  w.Key("status");
  w.String(facts.historyStatus);
  w.EndObject();
  w.EndObject();
  return out;
}

}  // namespace web
