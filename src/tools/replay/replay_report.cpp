#include "replay/replay_report.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "chart/input_store.h"
#include "formats/file_io.h"
#include "text/fail.h"

namespace replay {
namespace {

using host::InputKind;

constexpr double kExactIntegers = 9007199254740992.0;

// Whole numbers (times, integer inputs) print without a fraction.
void WriteWholeOrNumber(jsonout::JsonWriter& w, double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < kExactIntegers) {
    w.Int(static_cast<long long>(value));
  } else {
    w.Number(value);
  }
}

void WriteColour(jsonout::JsonWriter& w, host::Rgb colour) {
  w.BeginArray();
  w.Int(colour.r);
  w.Int(colour.g);
  w.Int(colour.b);
  w.EndArray();
}

// A value in the form the scenario's "inputs" take: choices as their index.
void WriteInputValue(jsonout::JsonWriter& w, InputKind kind, const chart::InputValue& value) {
  switch (kind) {
    case InputKind::kYesNo: w.Bool(value.number != 0); break;
    case InputKind::kText: w.String(value.text); break;
    case InputKind::kFloat: w.Number(value.number); break;
    default: WriteWholeOrNumber(w, value.number); break;
  }
}

void WriteBound(jsonout::JsonWriter& w, InputKind kind, const std::optional<double>& bound) {
  if (!bound) return w.Null();
  if (kind == InputKind::kFloat) return w.Number(*bound);
  WriteWholeOrNumber(w, *bound);
}

void WriteStudyInputs(jsonout::JsonWriter& w, const chart::InputStore& inputs) {
  w.BeginArray();
  for (const auto& [slot, entry] : inputs.Entries()) {
    const host::InputDeclaration& input = entry.declaration;
    w.BeginObject();
    w.Key("slot");
    w.Int(slot);
    w.Key("label");
    w.String(input.label);
    w.Key("kind");
    w.String(chart::InputKindName(input.kind));
    w.Key("default");
    WriteInputValue(w, input.kind, chart::DefaultValue(input));
    w.Key("min");
    WriteBound(w, input.kind, input.min);
    w.Key("max");
    WriteBound(w, input.kind, input.max);
    w.Key("choices");
    if (input.kind == InputKind::kChoice) {
      w.BeginArray();
      for (const std::string& choice : chart::ChoiceTexts(input)) w.String(choice);
      w.EndArray();
    } else {
      w.Null();
    }
    w.EndObject();
  }
  w.EndArray();
}

void WriteStudy(jsonout::JsonWriter& w, const LibraryIdentity& library, const chart::ChartHost& host) {
  w.BeginObject();
  w.Key("dll_name");
  w.String(library.dllName);
  w.Key("dll_version");
  w.Int(library.dllVersion);
  w.Key("name");
  w.String(host.Study().name);
  w.Key("description");
  w.String(host.Study().description);
  w.Key("inputs");
  WriteStudyInputs(w, host.Inputs());
  w.Key("subgraphs");
  w.BeginArray();
  for (const auto& [number, entry] : host.Subgraphs().Entries()) {
    w.BeginObject();
    w.Key("number");
    w.Int(number);
    w.Key("name");
    w.String(entry.declaration.name);
    w.Key("style");
    w.Int(entry.declaration.drawStyle);
    w.Key("colour");
    WriteColour(w, entry.declaration.colour);
    w.Key("width");
    w.Int(entry.declaration.width);
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void WriteRequests(jsonout::JsonWriter& w, const std::vector<transport::HttpRequestRecord>& requests,
                   size_t count) {
  w.BeginArray();
  for (size_t i = 0; i < count && i < requests.size(); ++i) {
    const transport::HttpRequestRecord& request = requests[i];
    w.BeginObject();
    w.Key("time");
    WriteWholeOrNumber(w, request.time);
    w.Key("url");
    w.String(request.url);
    w.Key("body");
    if (request.body)
      w.String(*request.body);
    else
      w.Null();
    w.Key("headers");
    jsonout::WritePairList(&w, request.headers, [](const auto& header) {
      return std::pair<std::string_view, std::string_view>(header.first, header.second);
    });
    w.EndObject();
  }
  w.EndArray();
}

void WriteResearch(jsonout::JsonWriter& w, const std::vector<chart::ResearchRequestRecord>& requests,
                   size_t count) {
  w.BeginArray();
  for (size_t i = 0; i < count && i < requests.size(); ++i) {
    w.BeginObject();
    w.Key("time");
    WriteWholeOrNumber(w, requests[i].time);
    w.Key("url");
    w.String(requests[i].url);
    w.EndObject();
  }
  w.EndArray();
}

void WriteLogAndAlerts(jsonout::JsonWriter& w, const chart::ChartHost& host, const DumpRecord& dump) {
  w.Key("log");
  w.BeginArray();
  for (size_t i = 0; i < dump.logCount && i < host.Log().size(); ++i) {
    w.BeginObject();
    w.Key("text");
    w.String(host.Log()[i].text);
    w.Key("show");
    w.Bool(host.Log()[i].show);
    w.EndObject();
  }
  w.EndArray();
  w.Key("alerts");
  w.BeginArray();
  for (size_t i = 0; i < dump.alertCount && i < host.Alerts().size(); ++i) {
    const chart::AlertRecord& alert = host.Alerts()[i];
    w.BeginObject();
    w.Key("number");
    w.Int(alert.number);
    w.Key("bar");
    w.Int(alert.bar);
    w.Key("text");
    w.String(alert.text);
    w.EndObject();
  }
  w.EndArray();
}

// Bars, the two vertical edges (prices or heights) and both colours of a filled rectangle.
void WriteFilledArea(jsonout::JsonWriter& w, const host::DrawingRequest& d) {
  w.Key("begin_bar");
  w.Int(d.beginBar);
  w.Key("end_bar");
  w.Int(d.endBar);
  w.Key("top");
  w.Number(d.beginValue);
  w.Key("bottom");
  w.Number(d.endValue);
  w.Key("colour");
  WriteColour(w, d.colour);
  w.Key("fill");
  WriteColour(w, d.fillColour);
}

void WriteDrawing(jsonout::JsonWriter& w, const host::DrawingRequest& d) {
  w.BeginObject();
  w.Key("line");
  w.Int(d.lineNumber);
  switch (d.kind) {
    case host::DrawingKind::kHorizontalLine:
      w.Key("kind");
      w.String("line");
      w.Key("price");
      w.Number(d.beginValue);
      w.Key("text");
      if (d.text.empty())
        w.Null();
      else
        w.String(d.text);
      w.Key("colour");
      WriteColour(w, d.colour);
      w.Key("width");
      w.Int(d.width);
      w.Key("style");
      w.Int(d.style);
      w.Key("price_scale");
      w.Bool(d.valueInPriceScale);
      break;
    case host::DrawingKind::kRectangle:
      w.Key("kind");
      w.String("rect");
      WriteFilledArea(w, d);
      w.Key("width");
      w.Int(d.width);
      w.Key("transparency");
      w.Int(d.transparency);
      break;
    case host::DrawingKind::kText:
      w.Key("kind");
      w.String("text");
      w.Key("bar");
      w.Int(d.beginBar);
      w.Key("height");
      w.Number(d.beginValue);
      w.Key("text");
      w.String(d.text);
      w.Key("colour");
      WriteColour(w, d.colour);
      w.Key("font_size");
      w.Int(d.fontSize);
      w.Key("bold");
      w.Bool(d.bold);
      w.Key("font");
      w.String(d.fontFace);
      w.Key("align");
      w.String((d.alignment & 3) == host::kAlignRight ? "right" : "left");
      break;
    case host::DrawingKind::kPanelRectangle:
      w.Key("kind");
      w.String("panel_rect");
      WriteFilledArea(w, d);
      w.Key("transparency");
      w.Int(d.transparency);
      break;
  }
  w.EndObject();
}

void WriteDump(jsonout::JsonWriter& w, const ReplaySession& session,
               const std::vector<chart::ResearchRequestRecord>& research, const DumpRecord& dump) {
  const chart::ChartHost& host = session.Host();
  w.BeginObject();
  w.Key("name");
  w.String(dump.name);
  w.Key("time");
  WriteWholeOrNumber(w, dump.time);
  w.Key("requests");
  WriteRequests(w, host.Requests(), dump.requestCount);
  w.Key("research_requests");
  WriteResearch(w, research, dump.researchCount);
  WriteLogAndAlerts(w, host, dump);
  w.Key("drawings");
  w.BeginArray();
  for (const host::DrawingRequest& drawing : dump.drawings) WriteDrawing(w, drawing);
  w.EndArray();
  w.Key("subgraphs");
  w.BeginArray();
  for (const SubgraphValue& subgraph : dump.subgraphs) {
    w.BeginObject();
    w.Key("number");
    w.Int(subgraph.number);
    w.Key("name");
    w.String(subgraph.name);
    w.Key("value");
    w.Number(subgraph.value);
    w.EndObject();
  }
  w.EndArray();
  w.Key("inputs");
  w.BeginObject();
  for (const InputSnapshot& input : dump.inputs) {
    w.Key(input.label);
    WriteInputValue(w, input.kind, input.value);
  }
  w.EndObject();
  w.EndObject();
}

}  // namespace

ReportBuilder::ReportBuilder(size_t limit) : limit_(limit), writer_(&text_) {
  // The declarations are known only at the end (a later step may declare again or recolour a
  // subgraph), and they come first: a placeholder holds their place.
  writer_.BeginObject();
  writer_.Key("study");
  writer_.Null();
  studyEnd_ = text_.size();
  writer_.Key("dumps");
  writer_.BeginArray();
}

bool ReportBuilder::AddDump(const ReplaySession& session, const DumpRecord& dump, std::string* error) {
  if (text_.size() <= limit_) WriteDump(writer_, session, session.ResearchRequests(), dump);
  if (text_.size() <= limit_) return true;
  return text::Fail(error, "the report would be larger than " + formats::SizeText(limit_) +
                               ", the most ordinel replay prints; fewer dumps or smaller ones fit");
}

std::string ReportBuilder::Finish(const LibraryIdentity& library, const ReplaySession& session) {
  writer_.EndArray();
  writer_.EndObject();
  std::string out;
  jsonout::JsonWriter w(&out);
  w.BeginObject();
  w.Key("study");
  WriteStudy(w, library, session.Host());
  out.append(text_, studyEnd_);
  out.push_back('\n');
  return out;
}

std::string ReplayReport(const LibraryIdentity& library, const ReplaySession& session) {
  ReportBuilder report(std::numeric_limits<size_t>::max());
  std::string unused;
  for (const DumpRecord& dump : session.Dumps()) report.AddDump(session, dump, &unused);
  return report.Finish(library, session);
}

}  // namespace replay
