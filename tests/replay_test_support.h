// Shared by the end-to-end test programs: runs the `ordinel` program (mostly `replay` on a scenario)
// and reads the parsed report (dumps, drawings, inputs). Each program defines ORDINEL_PROGRAM,
// ORDINEL_TEST_SCENARIOS and ORDINEL_DATA.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "json/json_document.h"

extern char** environ;

namespace replay_test {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// The whole file as bytes; empty when it cannot be read.
inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Runs the program with `args`, capturing standard output and standard error; standard input
// reads `input` when one is named.
inline ProgramRun RunOrdinel(const std::vector<std::string>& args, const std::string& input = "") {
  static int counter = 0;
  const std::string base =
      testing::TempDir() + "/ordinel_e2e_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
  const std::string outPath = base + ".out";
  const std::string errPath = base + ".err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!input.empty()) posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  std::vector<std::string> all = {ORDINEL_PROGRAM};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ProgramRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, ORDINEL_PROGRAM, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = Slurp(outPath);
  run.err = Slurp(errPath);
  unlink(outPath.c_str());
  unlink(errPath.c_str());
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
