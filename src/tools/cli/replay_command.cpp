// `ordinel replay SCENARIO.json [--study PATH]`: runs the study library in the chart host
// through a scripted session and prints the JSON report.
#include <cstdio>
#include <memory>
#include <string>

#include "chart/study_library.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "formats/file_io.h"
#include "replay/replay_report.h"
#include "replay/replay_scenario.h"
#include "replay/replay_session.h"
#include "replay/replay_values.h"
#include "chart/study_location.h"

namespace cli {
namespace {

struct ReplayArgs {
  std::string scenario;
  std::string study;
};

// The options of `ordinel replay`, read into `*o`, which must outlive the table.
formats::OptionTable ReplayOptionTable(ReplayArgs* o) {
  formats::OptionTable table;
  table.command = "ordinel replay";
  table.positionals = {
      formats::Positional("SCENARIO.json", "scenario",
                          "at most 64 MiB; answer files it names at most 16 MiB, bars files 8 MiB;\n"
                          "its report may hold 256 MiB",
                          &o->scenario)};
  table.options = {
      formats::Text("--study", "PATH", "the study library (default: beside the program)", &o->study)};
  return table;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int Invalid(const std::string& scenario, const std::string& message) {
  // The message may quote the scenario's texts or the study's drawings.
  PrintLine(stderr, "ordinel replay: " + scenario + ": " + message);
  return kExitInvalid;
}

}  // namespace

int RunReplay(const Args& args) {
  ReplayArgs options;
  int status = kExitOk;
  if (!ReadArguments(ReplayOptionTable(&options), args, &status)) return status;
  std::string text;
  std::string error;
  if (!formats::ReadFileWithin(options.scenario, replay::kMaxScenarioBytes, &text, &error)) {
    return Invalid(options.scenario, "cannot read the file: " + error);
  }
  replay::Scenario scenario;
  if (!replay::ParseScenario(text, DirectoryOf(options.scenario), &scenario, &error)) {
    return Invalid(options.scenario, error);
  }
  std::unique_ptr<chart::StudyLibrary> library =
      chart::StudyLibrary::Open(chart::StudyLibraryPath(options.study), &error);
  if (!library) {
    PrintLine(stderr, "ordinel replay: " + error);
    return kExitFailed;
  }
  const replay::LibraryIdentity identity{library->DllName(), library->DllVersion()};
  // The report grows with each dump, so that a scenario asking for more than the report may
  // hold stops there, before the memory runs out; nothing is printed then.
  replay::ReportBuilder report;
  auto owned = std::make_unique<replay::ReplaySession>(
      scenario, library->Function(),
      [&report](const replay::ReplaySession& running, const replay::DumpRecord& dump, std::string* why) {
        return report.AddDump(running, dump, why);
      });
  replay::ReplaySession& session = *owned;
  const bool ran = session.Run(&error);
  if (!session.Finish()) {
    // A research worker is still inside the study's code: keep both alive until exit.
    library->KeepLoaded();
    owned.release();
  }
  if (!ran) return Invalid(options.scenario, error);
  const std::string printed = report.Finish(identity, session);
  std::fwrite(printed.data(), 1, printed.size(), stdout);
  std::fflush(stdout);
  return kExitOk;
}

}  // namespace cli
