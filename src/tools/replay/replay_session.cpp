#include "replay/replay_session.h"

#include <variant>

#include "chart/input_edits.h"
#include "text/fail.h"
#include "text/format.h"

namespace replay {

double FirstStepTime(const Scenario& scenario) {
  for (const Step& step : scenario.steps) {
    if (const auto* call = std::get_if<CallStep>(&step.action)) return call->time;
    if (const auto* click = std::get_if<ClickTextStep>(&step.action)) return click->time;
    if (const auto* remove = std::get_if<RemoveStep>(&step.action)) return remove->time;
  }
  return 0;
}

ReplaySession::ReplaySession(const Scenario& scenario, chart::StudyFunction study, DumpObserver observer)
    : scenario_(scenario),
      study_(study),
      clock_(FirstStepTime(scenario)),
      services_(clock_),
      host_(scenario.chart, clock_, transport_, services_),
      observer_(std::move(observer)) {}

bool ReplaySession::Run(std::string* error) {
  Declare();
  for (const auto& [label, value] : scenario_.inputs) {
    if (!ApplyInput(label, value, error)) return text::Fail(error, "inputs: " + *error);
  }
  for (const auto& [name, colour] : scenario_.colours) {
    if (!ApplyColour(name, colour, error)) return text::Fail(error, "colours: " + *error);
  }
  for (size_t i = 0; i < scenario_.steps.size(); ++i) {
    const Step& step = scenario_.steps[i];
    const bool done = std::visit([&](const auto& action) { return Do(action, error); }, step.action);
    if (!done) return text::Fail(error, StepLabel(i, step) + ": " + *error);
  }
  const bool endsWithDump =
      !scenario_.steps.empty() && std::holds_alternative<DumpStep>(scenario_.steps.back().action);
  if (!endsWithDump && !RecordDump(kFinalDumpName, error))
    return text::Fail(error, "the final dump: " + *error);
  return true;
}

bool ReplaySession::Finish() {
  if (onChart_) {
    host_.RemovalCall(study_);
    onChart_ = false;
  }
  return services_.Shutdown(kWorkerWait);
}

void ReplaySession::Declare() {
  host_.DeclarationCall(study_);
  onChart_ = true;
  services_.WaitUntilSettled(kWorkerWait);
}

// A study removed earlier is added again: the platform declares it before its first call.
void ReplaySession::EnsureOnChart() {
  if (!onChart_) Declare();
}

void ReplaySession::Call(double time, host::PointerEvent pointer) {
  clock_.Set(time);
  EnsureOnChart();
  host_.OrdinaryCall(study_, pointer);
  // A research worker started by this call reaches its GET before the next step, so what a
  // dump sees does not depend on thread timing.
  services_.WaitUntilSettled(kWorkerWait);
}

bool ReplaySession::Do(const CallStep& step, std::string*) {
  Call(step.time, step.pointer);
  return true;
}

bool ReplaySession::Do(const ClickTextStep& step, std::string* error) {
  host::PointerEvent press;
  if (!chart::PressOnText(host_, step.text, &press)) {
    return text::Fail(error, "no text drawing contains \"" + step.text + "\"");
  }
  Call(step.time, press);
  return true;
}

bool ReplaySession::Do(const RespondStep& step, std::string* error) {
  if (!transport_.Answer(step.body)) return text::Fail(error, "no host HTTP request is pending");
  return true;
}

bool ReplaySession::Do(const ResearchStep& step, std::string* error) {
  switch (services_.Answer(step.status, step.body, kWorkerWait)) {
    case chart::ResearchAnswerOutcome::kAnswered: return true;
    case chart::ResearchAnswerOutcome::kNonePending:
      return text::Fail(error, "no research request is pending");
    case chart::ResearchAnswerOutcome::kWorkerStuck: break;
  }
  return text::Fail(error, "the research worker did not finish after its answer");
}

bool ReplaySession::Do(const SetStep& step, std::string* error) {
  for (const auto& [label, value] : step.values) {
    if (!ApplyInput(label, value, error)) return false;
  }
  return true;
}

bool ReplaySession::Do(const ColourStep& step, std::string* error) {
  for (const auto& [name, colour] : step.colours) {
    if (!ApplyColour(name, colour, error)) return false;
  }
  return true;
}

bool ReplaySession::Do(const VisibleStep& step, std::string* error) {
  if (step.range.last >= host_.BarCount()) {
    return text::Fail(error, text::Format("last visible bar %d is beyond the %d bars of the chart",
                                          step.range.last, host_.BarCount()));
  }
  host_.Chart().visible = step.range;
  return true;
}

bool ReplaySession::Do(const AppendBarsStep& step, std::string*) {
  chart::AppendBars(&host_.Chart(), step.bars);
  return true;
}

bool ReplaySession::Do(const SymbolStep& step, std::string*) {
  host_.Chart().symbol = step.symbol;
  return true;
}

bool ReplaySession::Do(const DeclareStep&, std::string*) {
  Declare();
  return true;
}

bool ReplaySession::Do(const RemoveStep& step, std::string*) {
  clock_.Set(step.time);
  EnsureOnChart();
  host_.RemovalCall(study_);
  onChart_ = false;
  services_.WaitUntilSettled(kWorkerWait);
  return true;
}

bool ReplaySession::Do(const DumpStep& step, std::string* error) { return RecordDump(step.name, error); }

bool ReplaySession::ApplyInput(const std::string& label, json::Node value, std::string* error) {
  // A scenario may set any value of an input's kind, outside its range and listed choices too,
  // as a saved chart can hold one; the acceptance checks rely on it.
  return chart::SetInputFromJson(host_.Inputs(), label, value, chart::kAnyOfKind, error);
}

bool ReplaySession::ApplyColour(const std::string& name, host::Rgb colour, std::string* error) {
  chart::SubgraphStore& subgraphs = host_.Subgraphs();
  const int number = subgraphs.NumberOf(name);
  if (number < 0) return text::Fail(error, "the study declares no subgraph \"" + name + "\"");
  return subgraphs.SetUserColour(number, colour);
}

bool ReplaySession::RecordDump(const std::string& name, std::string* error) {
  DumpRecord dump;
  dump.name = name;
  dump.time = clock_.Now();
  dump.requestCount = host_.Requests().size();
  dump.researchCount = services_.Requests().size();
  dump.logCount = host_.Log().size();
  dump.alertCount = host_.Alerts().size();
  dump.drawings = host_.Drawings().Sorted();
  const int lastBar = host_.BarCount() - 1;
  for (const auto& [number, entry] : host_.Subgraphs().Entries()) {
    dump.subgraphs.push_back({number, entry.declaration.name, host_.Subgraphs().ValueAt(number, lastBar)});
  }
  for (const auto& [slot, entry] : host_.Inputs().Entries()) {
    dump.inputs.push_back({entry.declaration.label, entry.declaration.kind, entry.value});
  }
  if (observer_) return observer_(*this, dump, error);
  dumps_.push_back(std::move(dump));
  return true;
}

}  // namespace replay
