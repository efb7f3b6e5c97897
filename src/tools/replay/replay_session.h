// One `ordinel replay` session: the chart host with a virtual clock, a scripted levels
// transport and scripted research services, driven through the scenario's steps.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "chart/chart_host.h"
#include "chart/scripted_services.h"
#include "replay/replay_scenario.h"

namespace replay {

struct SubgraphValue {
  int number = 0;
  std::string name;
  float value = 0;
};

struct InputSnapshot {
  std::string label;
  host::InputKind kind = host::InputKind::kInteger;
  chart::InputValue value;
};

// What the platform could observe at a dump. Requests, research requests, log and alerts are
// cumulative, so a dump keeps only how many there were.
struct DumpRecord {
  std::string name;
  double time = 0;
  size_t requestCount = 0;
  size_t researchCount = 0;
  size_t logCount = 0;
  size_t alertCount = 0;
  std::vector<host::DrawingRequest> drawings;
  std::vector<SubgraphValue> subgraphs;
  std::vector<InputSnapshot> inputs;
};

class ReplaySession;

// Takes each dump as `session` records it; false, with `*error` saying why, ends the session there.
using DumpObserver =
    std::function<bool(const ReplaySession& session, const DumpRecord& dump, std::string* error)>;

// How long a step waits for the research worker before giving up.
inline constexpr std::chrono::seconds kWorkerWait{10};

class ReplaySession {
 public:
  // Dumps are kept for Dumps(), or handed to `observer` as they are recorded and not kept, so
  // that a session of many dumps holds no more than the observer does.
  // Requires: `study` stays callable for the session's life.
  ReplaySession(const Scenario& scenario, chart::StudyFunction study, DumpObserver observer = {});

  // Makes the declaration call, applies the scenario's inputs and colours and follows every
  // step, ending with a dump "end" unless the last step is a dump. False with `*error` naming
  // the step (or "inputs" / "colours", or "end" for the final dump) when the scenario asks for
  // something impossible or the observer refuses a dump.
  bool Run(std::string* error);
  // The removal call if the study is still on the chart, then releases and waits for the
  // research workers; false when a worker is still running, in which case the study's code
  // and this session must stay in memory.
  bool Finish();

  const chart::ChartHost& Host() const { return host_; }
  std::vector<chart::ResearchRequestRecord> ResearchRequests() const { return services_.Requests(); }
  // The dumps recorded so far; empty when an observer takes them.
  const std::vector<DumpRecord>& Dumps() const { return dumps_; }

 private:
  bool Do(const CallStep& step, std::string* error);
  bool Do(const ClickTextStep& step, std::string* error);
  bool Do(const RespondStep& step, std::string* error);
  bool Do(const ResearchStep& step, std::string* error);
  bool Do(const SetStep& step, std::string* error);
  bool Do(const ColourStep& step, std::string* error);
  bool Do(const VisibleStep& step, std::string* error);
  bool Do(const AppendBarsStep& step, std::string* error);
  bool Do(const SymbolStep& step, std::string* error);
  bool Do(const DeclareStep& step, std::string* error);
  bool Do(const RemoveStep& step, std::string* error);
  bool Do(const DumpStep& step, std::string* error);

  void Declare();
  void EnsureOnChart();
  void Call(double time, host::PointerEvent pointer);
  bool ApplyInput(const std::string& label, json::Node value, std::string* error);
  bool ApplyColour(const std::string& name, host::Rgb colour, std::string* error);
  bool RecordDump(const std::string& name, std::string* error);

  const Scenario& scenario_;
  chart::StudyFunction study_;
  chart::VirtualClock clock_;
  transport::ScriptedTransport transport_;
  chart::ScriptedServices services_;
  chart::ChartHost host_;
  bool onChart_ = false;
  DumpObserver observer_;
  std::vector<DumpRecord> dumps_;
};

// The time of the first step that carries one; 0 when none does.
double FirstStepTime(const Scenario& scenario);

}  // namespace replay
