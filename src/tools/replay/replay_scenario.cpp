#include "replay/replay_scenario.h"

#include <climits>

#include "formats/bars_csv.h"
#include "formats/file_io.h"
#include "text/fail.h"
#include "replay/replay_values.h"

namespace replay {
namespace {

// Prefixes the message a reader left in `*error` with the part it was reading.
bool FailIn(const std::string& where, std::string* error) {
  *error = where + ": " + *error;
  return false;
}

bool ParseBars(json::Node value, const std::string& baseDir, std::vector<chart::Bar>* bars,
               std::string* error) {
  if (value.IsArray()) return ReadBarList(value, bars, error);
  if (!value.IsObject() || value.size() != 1) {
    return text::Fail(error, "expected a list of bars, {\"flat\": ...} or {\"file\": ...}");
  }
  if (const json::Node flat = json::Member(value, "flat")) {
    long long count = 0;
    double price = 0;
    if (!flat.IsObject() || !OnlyKeys(flat, {"count", "price"}, error)) {
      return text::Fail(error, "flat: expected {\"count\": N, \"price\": P}");
    }
    if (!ReadInteger(json::Member(flat, "count"), 0, 1000000, &count, error))
      return FailIn("flat.count", error);
    if (!ReadNumber(json::Member(flat, "price"), &price, error)) return FailIn("flat.price", error);
    *bars = chart::FlatBars(static_cast<int>(count), price);
    return true;
  }
  std::string path;
  if (!ReadText(json::Member(value, "file"), &path, error)) {
    return text::Fail(error, "expected a list of bars, {\"flat\": ...} or {\"file\": ...}");
  }
  const std::string resolved = ResolvePath(baseDir, path);
  std::string csv;
  std::string why;
  if (!formats::ReadFileWithin(resolved, formats::kMaxBarsFileBytes, &csv, &why)) {
    return text::Fail(error, "cannot read file '" + resolved + "': " + why);
  }
  if (!formats::ReadBarsCsv(csv, formats::BarRules::kScenario, bars, error)) return FailIn(resolved, error);
  return true;
}

bool ParseRegion(json::Node value, host::RegionBounds* region, std::string* error) {
  if (!value.IsObject()) return text::Fail(error, "expected an object");
  if (!OnlyKeys(value, {"top", "bottom", "left", "right"}, error)) return false;
  int* fields[4] = {&region->top, &region->bottom, &region->left, &region->right};
  const char* names[4] = {"top", "bottom", "left", "right"};
  for (int i = 0; i < 4; ++i) {
    const json::Node member = json::Member(value, names[i]);
    long long pixel = 0;
    if (!member) continue;  // keeps the default edge
    if (!ReadInteger(member, -32768, 32767, &pixel, error)) return FailIn(names[i], error);
    *fields[i] = static_cast<int>(pixel);
  }
  if (region->top >= region->bottom || region->left >= region->right) {
    return text::Fail(error, "expected top < bottom and left < right");
  }
  return true;
}

bool ParseChart(json::Node value, const std::string& baseDir, chart::ChartData* chart, std::string* error) {
  *chart = chart::DefaultChart();
  if (!value.IsObject()) return text::Fail(error, "chart: expected an object");
  if (!OnlyKeys(value, {"symbol", "tick_size", "bars", "visible", "region", "bar_spacing"}, error)) {
    return FailIn("chart", error);
  }
  if (const json::Node symbol = json::Member(value, "symbol")) {
    if (!ReadText(symbol, &chart->symbol, error)) return FailIn("chart.symbol", error);
  }
  if (const json::Node tick = json::Member(value, "tick_size")) {
    if (!ReadNumber(tick, &chart->tickSize, error) || chart->tickSize <= 0) {
      return text::Fail(error, "chart.tick_size: expected a positive number");
    }
  }
  if (const json::Node bars = json::Member(value, "bars")) {
    if (!ParseBars(bars, baseDir, &chart->bars, error)) return FailIn("chart.bars", error);
    chart->visible = chart::LastBars(static_cast<int>(chart->bars.size()), chart::kDefaultVisibleBars);
  }
  if (const json::Node visible = json::Member(value, "visible")) {
    if (!ParseVisibleRange(visible, static_cast<int>(chart->bars.size()), &chart->visible, error)) {
      return FailIn("chart.visible", error);
    }
  }
  if (const json::Node region = json::Member(value, "region")) {
    if (!ParseRegion(region, &chart->region, error)) return FailIn("chart.region", error);
  }
  if (const json::Node spacing = json::Member(value, "bar_spacing")) {
    long long pixels = 0;
    if (!ReadInteger(spacing, 1, 10000, &pixels, error)) return FailIn("chart.bar_spacing", error);
    chart->barSpacing = static_cast<int>(pixels);
  }
  return true;
}

bool ParseLabelledValues(json::Node value, std::vector<std::pair<std::string, json::Node>>* out,
                         std::string* error) {
  if (!value.IsObject()) return text::Fail(error, "expected an object of values by label");
  for (const json::Pair pair : value.Pairs()) out->emplace_back(pair.key, pair.value);
  return true;
}

bool ParseColours(json::Node value, std::vector<std::pair<std::string, host::Rgb>>* out, std::string* error) {
  if (!value.IsObject()) return text::Fail(error, "expected an object of colours by subgraph name");
  for (const json::Pair pair : value.Pairs()) {
    host::Rgb colour;
    const std::string name(pair.key);
    if (!ReadColour(pair.value, &colour, error)) return FailIn("\"" + name + "\"", error);
    out->emplace_back(name, colour);
  }
  return true;
}

bool ParseTime(json::Node value, double* time, std::string* error) {
  if (!ReadNumber(value, time, error)) return text::Fail(error, "expected a time in seconds since 1970");
  return true;
}

bool ParseStepObject(json::Node value, const std::vector<std::string>& keys, std::string* error) {
  if (!value.IsObject()) return text::Fail(error, "expected an object");
  return OnlyKeys(value, keys, error);
}

bool ParseClick(json::Node value, CallStep* call, std::string* error) {
  long long x = 0;
  long long y = 0;
  if (!ParseStepObject(value, {"x", "y", "at"}, error)) return false;
  if (!ReadInteger(json::Member(value, "x"), -32768, 32767, &x, error)) return FailIn("x", error);
  if (!ReadInteger(json::Member(value, "y"), -32768, 32767, &y, error)) return FailIn("y", error);
  if (!ParseTime(json::Member(value, "at"), &call->time, error)) return FailIn("at", error);
  call->pointer = {host::kPointerPress, static_cast<int>(x), static_cast<int>(y)};
  return true;
}

bool ParsePointer(json::Node value, CallStep* call, std::string* error) {
  long long code = 0;
  if (!ParseStepObject(value, {"code", "at"}, error)) return false;
  if (!ReadInteger(json::Member(value, "code"), INT_MIN, INT_MAX, &code, error)) return FailIn("code", error);
  if (!ParseTime(json::Member(value, "at"), &call->time, error)) return FailIn("at", error);
  call->pointer = {static_cast<int>(code), 0, 0};
  return true;
}

bool ParseClickText(json::Node value, ClickTextStep* click, std::string* error) {
  if (!ParseStepObject(value, {"text", "at"}, error)) return false;
  if (!ReadText(json::Member(value, "text"), &click->text, error)) return FailIn("text", error);
  if (!ParseTime(json::Member(value, "at"), &click->time, error)) return FailIn("at", error);
  return true;
}

bool ParseResearch(json::Node value, const std::string& baseDir, ResearchStep* research, std::string* error) {
  long long status = 0;
  if (!ReadBody(value, baseDir, {"status"}, &research->body, error)) return false;
  if (!ReadInteger(json::Member(value, "status"), 0, 999, &status, error)) return FailIn("status", error);
  research->status = static_cast<unsigned>(status);
  return true;
}

// Parses the action of a step whose key is known.
bool ParseAction(const std::string& key, json::Node value, const std::string& baseDir, StepAction* action,
                 std::string* error) {
  if (key == "call") {
    CallStep call;
    if (!ParseTime(value, &call.time, error)) return false;
    *action = call;
  } else if (key == "click" || key == "pointer") {
    CallStep call;
    if (!(key == "click" ? ParseClick(value, &call, error) : ParsePointer(value, &call, error))) return false;
    *action = call;
  } else if (key == "click_text") {
    ClickTextStep click;
    if (!ParseClickText(value, &click, error)) return false;
    *action = std::move(click);
  } else if (key == "respond") {
    RespondStep respond;
    if (!ReadBody(value, baseDir, {}, &respond.body, error)) return false;
    *action = std::move(respond);
  } else if (key == "research") {
    ResearchStep research;
    if (!ParseResearch(value, baseDir, &research, error)) return false;
    *action = std::move(research);
  } else if (key == "set") {
    SetStep set;
    if (!ParseLabelledValues(value, &set.values, error)) return false;
    *action = std::move(set);
  } else if (key == "colour") {
    ColourStep colour;
    if (!ParseColours(value, &colour.colours, error)) return false;
    *action = std::move(colour);
  } else if (key == "visible") {
    VisibleStep visible;
    if (!ParseVisibleRange(value, INT_MAX, &visible.range, error)) return false;
    *action = visible;
  } else if (key == "append_bars") {
    AppendBarsStep append;
    if (!ReadBarList(value, &append.bars, error)) return false;
    *action = std::move(append);
  } else if (key == "symbol") {
    SymbolStep symbol;
    if (!ReadText(value, &symbol.symbol, error)) return false;
    *action = std::move(symbol);
  } else if (key == "declare") {
    if (!value.boolean()) return text::Fail(error, "expected true");
    *action = DeclareStep{};
  } else if (key == "remove") {
    RemoveStep remove;
    if (!ParseTime(value, &remove.time, error)) return false;
    *action = remove;
  } else if (key == "dump") {
    DumpStep dump;
    if (!ReadText(value, &dump.name, error)) return text::Fail(error, "expected a name");
    *action = std::move(dump);
  } else {
    return text::Fail(error, "unknown step");
  }
  return true;
}

}  // namespace

bool ParseStep(json::Node value, const std::string& baseDir, Step* step, std::string* error) {
  if (!value.IsObject() || value.size() != 1) return text::Fail(error, "a step is an object with one key");
  const json::Pair pair = value.PairAt(0);
  step->key = std::string(pair.key);
  return ParseAction(step->key, pair.value, baseDir, &step->action, error);
}

bool ParseVisibleRange(json::Node value, int barCount, host::BarRange* range, std::string* error) {
  long long first = 0;
  long long last = 0;
  const char* expected = "expected [FIRST, LAST] with 0 <= FIRST <= LAST < bar count";
  if (!value.IsArray() || value.size() != 2 || !ReadInteger(value.ElementAt(0), 0, INT_MAX, &first, error) ||
      !ReadInteger(value.ElementAt(1), 0, INT_MAX, &last, error) || first > last || last >= barCount) {
    return text::Fail(error, expected);
  }
  *range = {static_cast<int>(first), static_cast<int>(last)};
  return true;
}

bool ParseScenario(std::string_view text, const std::string& baseDir, Scenario* out, std::string* error) {
  auto document = std::make_shared<json::Document>();
  if (document->ParseOwned(std::string(text)) != json::ParseResult::kParsed || !document->Root().IsObject()) {
    return text::Fail(error, "the scenario is not a JSON object");
  }
  const json::Node root = document->Root();
  if (!OnlyKeys(root, {"chart", "inputs", "colours", "steps"}, error)) return false;
  *out = Scenario{};
  out->document = document;
  out->chart = chart::DefaultChart();
  if (const json::Node chartValue = json::Member(root, "chart")) {
    if (!ParseChart(chartValue, baseDir, &out->chart, error)) return false;
  }
  if (const json::Node inputs = json::Member(root, "inputs")) {
    if (!ParseLabelledValues(inputs, &out->inputs, error)) return FailIn("inputs", error);
  }
  if (const json::Node colours = json::Member(root, "colours")) {
    if (!ParseColours(colours, &out->colours, error)) return FailIn("colours", error);
  }
  const json::Node steps = json::Member(root, "steps");
  if (!steps) return true;
  if (!steps.IsArray()) return text::Fail(error, "steps: expected a list");
  for (size_t i = 0; i < steps.size(); ++i) {
    Step step;
    if (!ParseStep(steps.ElementAt(i), baseDir, &step, error)) {
      const std::string label = step.key.empty() ? "step " + std::to_string(i + 1) : StepLabel(i, step);
      return FailIn(label, error);
    }
    out->steps.push_back(std::move(step));
  }
  return true;
}

std::string StepLabel(size_t index, const Step& step) {
  return "step " + std::to_string(index + 1) + " (" + step.key + ")";
}

}  // namespace replay
