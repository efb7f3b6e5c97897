// Shared set-up of the driver and fetch-cycle tests: a declared fake host and helpers to make
// calls and answer the pending request.
#pragma once

#include <algorithm>
#include <string>

#include "host/fake_study_host.h"
#include "study/driver.h"
#include "study/input_table.h"
#include "study/instance_state.h"
#include "study/study_declarations.h"
#include "study/study_entry.h"

namespace study {

inline constexpr double kT0 = 1735741800;  // 2025-01-01 14:30 UTC

inline std::string LevelsAnswer(double spot, const std::string& extra = "") {
  return R"({"ok":true,"connected":true,"resolved_symbol":"NQ")" + extra + R"(,"display_levels":{"spot":)" +
         std::to_string(spot) + R"(,"call_wall":21600,"put_wall":21400,"gamma_flip":21450}})";
}

class DriverHarness {
 public:
  DriverHarness() {
    DeclareStudy(sc);
    sc.now = kT0;
  }
  ~DriverHarness() {
    sc.removalCall = true;
    StudyFunction(sc, sc.services);
  }
  void Call(double t) {
    sc.now = t;
    StudyFunction(sc, sc.services);
  }
  // Makes `body` the answer of the pending request and delivers it on a call at `t`.
  void Answer(const std::string& body, double t) {
    sc.responseBody = body;
    Call(t);
  }
  // A dynamic-mode map without the fear score: the first call's request, answered with `answer`
  // at kT0 + 1, nothing pending after.
  void LoadMap(const std::string& answer = LevelsAnswer(21500)) {
    Set(kSnapshotMode, 1);
    Set(kFearScore, 0);
    Call(kT0);
    Answer(answer, kT0 + 1);
  }
  InstanceState& State() { return *static_cast<InstanceState*>(sc.PersistentPointer(kStatePointerSlot)); }
  void Set(int slot, double value) { sc.inputs[slot].number = value; }
  void SetText(int slot, const std::string& text) { sc.inputs[slot].text = text; }
  size_t Requests() const { return sc.requests.size(); }
  const std::string& LastUrl() const { return sc.requests.back().url; }
  size_t ShownLogLines() const {
    return std::count_if(sc.log.begin(), sc.log.end(), [](const auto& e) { return e.show; });
  }

  host::FakeStudyHost sc;
};

}  // namespace study
