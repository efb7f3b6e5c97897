#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

struct Printed {
  int status;
  std::string out;
  std::string err;
};

Printed RunPrinting(int (*run)(const Args&), const Args& args) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = run(args);
  std::string out = ::testing::internal::GetCapturedStdout();
  return {status, std::move(out), ::testing::internal::GetCapturedStderr()};
}

// Every command prints its usage on standard output for --help and -h, and a mistake as
// "ordinel COMMAND: problem" followed by the same usage on standard error, with status 2.
TEST(Arguments, EveryCommandAnswersHelpAndMistakesAlike) {
  struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* usageLine;
  };
  const Command commands[] = {
      {"chart", RunChart, "usage: ordinel chart [OPTIONS]\n"},
      {"service", RunService, "usage: ordinel service [OPTIONS]\n"},
      {"engine", RunEngine, "usage: ordinel engine CHAIN|- [OPTIONS]\n"},
      {"inspect", RunInspect, "usage: ordinel inspect FILE|- [--top-strikes N]\n"},
      {"replay", RunReplay, "usage: ordinel replay SCENARIO.json [--study PATH]\n"},
  };
  for (const Command& command : commands) {
    const Printed help = RunPrinting(command.run, {"--help"});
    EXPECT_EQ(help.status, kExitOk) << command.name;
    EXPECT_EQ(help.out.rfind(command.usageLine, 0), 0u) << command.name << ": " << help.out;
    EXPECT_EQ(help.err, "") << command.name;
    const Printed shortHelp = RunPrinting(command.run, {"-h", "--bogus"});
    EXPECT_EQ(shortHelp.status, kExitOk) << command.name;
    EXPECT_EQ(shortHelp.out, help.out) << command.name;

    const Printed mistake = RunPrinting(command.run, {"--port=x", "--bogus"});
    EXPECT_EQ(mistake.status, kExitInvalid) << command.name;
    EXPECT_EQ(mistake.out, "") << command.name;
    const std::string problem = std::string("ordinel ") + command.name + ": ";
    EXPECT_EQ(mistake.err.rfind(problem, 0), 0u) << command.name << ": " << mistake.err;
    EXPECT_EQ(mistake.err.substr(mistake.err.find('\n') + 1), help.out) << command.name;
  }
}

}  // namespace
}  // namespace cli
