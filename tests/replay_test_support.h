// Shared by the end-to-end test programs: runs the `ordinel` program (mostly `replay` on a scenario)
// and reads the parsed report (dumps, drawings, inputs). Each program defines ORDINEL_PROGRAM,
// ORDINEL_TEST_SCENARIOS and ORDINEL_DATA.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "json/json_document.h"
#include "running_program.h"

namespace replay_test {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

using running_program::Slurp;

// Runs the program with `args` to its end (at most ten minutes), capturing standard output and
// standard error; standard input reads `input` when one is named.
inline ProgramRun RunOrdinel(const std::vector<std::string>& args, const std::string& input = "") {
  running_program::Running running(args, {}, input);
  ProgramRun run;
  if (running.AwaitExit(std::chrono::minutes(10))) run.exitCode = running.ExitCode();
  run.out = running.Out();
  run.err = running.Err();
  return run;
}

inline std::string TestScenario(const std::string& name) {
  return std::string(ORDINEL_TEST_SCENARIOS) + "/" + name;
}

// The report of the test scenario `name`, replayed once per test program however often it is
// asked for; it stays valid for the rest of the program. A failed run fails the test that first
// asks (and yields an absent value).
inline json::Node ReportOf(const std::string& name) {
  static std::map<std::string, std::unique_ptr<json::Document>> reports;
  std::unique_ptr<json::Document>& report = reports[name];
  if (!report) {
    const ProgramRun run = RunOrdinel({"replay", TestScenario(name)});
    EXPECT_EQ(run.exitCode, 0) << name << "\n" << run.err;
    report = std::make_unique<json::Document>();
    EXPECT_EQ(report->ParseOwned(run.out), json::ParseResult::kParsed) << name << "\n"
                                                                       << run.out.substr(0, 500);
  }
  return report->Root();
}

// The member at `path`, or an absent value when any step is missing.
inline json::Node At(json::Node v, std::initializer_list<const char*> path) {
  for (const char* key : path) v = json::Member(v, key);
  return v;
}

// The dump named `name` in the report of the test scenario `scenario` (see ReportOf); a missing
// dump fails the test and yields an absent value.
inline json::Node DumpOf(const std::string& scenario, const std::string& name) {
  for (const json::Node dump : At(ReportOf(scenario), {"dumps"}).Elements()) {
    if (At(dump, {"name"}).text() == name) return dump;
  }
  ADD_FAILURE() << scenario << ": no dump named " << name;
  return {};
}

// The line numbers of the dump's drawings in [first, last], in report order.
inline std::vector<int> DrawingLines(json::Node dump, int first, int last) {
  std::vector<int> lines;
  for (const json::Node d : At(dump, {"drawings"}).Elements()) {
    const int line = static_cast<int>(At(d, {"line"}).number());
    if (line >= first && line <= last) lines.push_back(line);
  }
  return lines;
}

}  // namespace replay_test
