// The scenario of `ordinel replay`: the chart to open, the inputs and colours to apply, and the
// steps to follow, read from the scenario's JSON text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "chart/chart_data.h"
#include "host/study_host.h"
#include "json/json_document.h"

namespace replay {

struct CallStep {  // call, click and pointer
  double time = 0;
  host::PointerEvent pointer;  // code 0 for a plain call
};
struct ClickTextStep {
  std::string text;
  double time = 0;
};
struct RespondStep {
  std::string body;
};
struct ResearchStep {
  unsigned status = 0;
  std::string body;
};
struct SetStep {
  std::vector<std::pair<std::string, json::Node>> values;  // by input label
};
struct ColourStep {
  std::vector<std::pair<std::string, host::Rgb>> colours;  // by subgraph name
};
struct VisibleStep {
  host::BarRange range;
};
struct AppendBarsStep {
  std::vector<chart::Bar> bars;
};
struct SymbolStep {
  std::string symbol;
};
struct DeclareStep {};
struct RemoveStep {
  double time = 0;
};
struct DumpStep {
  std::string name;
};

using StepAction = std::variant<CallStep, ClickTextStep, RespondStep, ResearchStep, SetStep, ColourStep,
                                VisibleStep, AppendBarsStep, SymbolStep, DeclareStep, RemoveStep, DumpStep>;

struct Step {
  std::string key;  // the step's key in the scenario ("call", "respond", ...)
  StepAction action;
};

struct Scenario {
  // The parsed scenario, which the input values (here and in set steps) are taken from; shared
  // by the copies of a scenario.
  std::shared_ptr<const json::Document> document;
  chart::ChartData chart;
  std::vector<std::pair<std::string, json::Node>> inputs;  // by input label
  std::vector<std::pair<std::string, host::Rgb>> colours;  // by subgraph name
  std::vector<Step> steps;
};

inline constexpr const char* kFinalDumpName = "end";

// The largest scenario file read; its answers may be inline, so it has room for several.
inline constexpr size_t kMaxScenarioBytes = size_t{64} << 20;

// Reads a scenario from its JSON text; files named inside are read relative to `baseDir`.
// Input labels and subgraph names are checked later, against what the study declares. False
// with `*error` naming the part at fault ("chart.bars: ...", "step 3 (respond): ...").
bool ParseScenario(std::string_view text, const std::string& baseDir, Scenario* out, std::string* error);

// One step: an object with one key. Sets `step->key` as soon as it is known; false with
// `*error` saying what is wrong. The input values of a set step are taken from `value`'s
// document, which must outlive the step.
bool ParseStep(json::Node value, const std::string& baseDir, Step* step, std::string* error);

// [FIRST, LAST] with 0 <= FIRST <= LAST < barCount.
bool ParseVisibleRange(json::Node value, int barCount, host::BarRange* range, std::string* error);

// "step N (KEY)" with N counted from 1.
std::string StepLabel(size_t index, const Step& step);

}  // namespace replay
