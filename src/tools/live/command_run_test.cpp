#include "live/command_run.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <future>

#include "live/capture_test_support.h"
#include "loopback/loopback_test_support.h"

namespace live {
namespace {

using live::testing::NoChildLeft;
using live::testing::TempFolder;

struct Ran {
  FetchStatus status;
  CommandOutput out;
  std::string error;
  double seconds;
};

Ran RunFor(const CommandRequest& request, const StopSignal& stop) {
  Ran ran;
  const auto start = std::chrono::steady_clock::now();
  ran.status = RunCommand(request, stop, &ran.out, &ran.error);
  ran.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return ran;
}

Ran RunScript(const TempFolder& folder, const std::string& body, double timeout = 10,
              size_t maxOutput = 1 << 20) {
  const std::string script = folder.Script("run.sh", body);
  StopSignal stop;
  return RunFor({{script}, folder.path(), timeout, maxOutput}, stop);
}

TEST(CommandRun, OutcomesOfOneRun) {
  TempFolder folder;
  folder.Write("here.txt", "from the folder\n");
  const struct {
    const char* name;
    std::string body;
    FetchStatus status;
    std::string output, error;  // error: its start
  } cases[] = {
      {"prints", "printf 'one\\ntwo'", FetchStatus::kFetched, "one\ntwo", ""},
      {"prints nothing", "true", FetchStatus::kFetched, "", ""},
      {"runs in its folder", "cat here.txt", FetchStatus::kFetched, "from the folder\n", ""},
      {"no standard input", "cat", FetchStatus::kFetched, "", ""},
      {"exit status", "echo partial; exit 3", FetchStatus::kFailed, "partial\n", "exited with status 3"},
      {"killed", "kill -KILL $$", FetchStatus::kFailed, "", "ended by signal 9"},
      {"output over the limit", "head -c 2000000 /dev/zero", FetchStatus::kFailed, "",
       "printed more than 1 MiB"},
  };
  for (const auto& c : cases) {
    const Ran ran = RunScript(folder, c.body);
    EXPECT_EQ(ran.status, c.status) << c.name << ": " << ran.error;
    if (c.status == FetchStatus::kFetched) {
      EXPECT_EQ(ran.out.output, c.output) << c.name;
    }
    EXPECT_EQ(ran.error.substr(0, c.error.size()), c.error) << c.name;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

TEST(CommandRun, ProgramsThatCannotRun) {
  TempFolder folder;
  StopSignal stop;
  const Ran missing = RunFor({{"./no-such-program"}, folder.path(), 5, 100}, stop);
  EXPECT_EQ(missing.status, FetchStatus::kFailed);
  EXPECT_EQ(missing.error, "cannot run ./no-such-program: No such file or directory");
  folder.Write("plain.txt", "not executable");
  const Ran plain = RunFor({{"./plain.txt"}, folder.path(), 5, 100}, stop);
  EXPECT_EQ(plain.error, "cannot run ./plain.txt: Permission denied");
  const Ran nowhere = RunFor({{"true"}, folder.Path("missing-folder"), 5, 100}, stop);
  EXPECT_EQ(nowhere.status, FetchStatus::kFailed) << "a folder that is not there";
  EXPECT_EQ(RunFor({{}, folder.path(), 5, 100}, stop).error, "no program to run");
  EXPECT_TRUE(NoChildLeft());
}

TEST(CommandRun, FromPathWithArguments) {
  TempFolder folder;
  StopSignal stop;
  const Ran ran = RunFor({{"printf", "%s-%s", "a b", "c"}, folder.path(), 5, 100}, stop);
  EXPECT_EQ(ran.status, FetchStatus::kFetched) << ran.error;
  EXPECT_EQ(ran.out.output, "a b-c") << "arguments reach it whole, without a shell";
}

TEST(CommandRun, StandardErrorIsKeptBoundedAndAsPrinted) {
  TempFolder folder;
  const Ran escape = RunScript(folder, "printf 'bad \\033[31mred\\n' >&2; echo 1");
  EXPECT_EQ(escape.status, FetchStatus::kFetched);
  EXPECT_EQ(escape.out.errorText, "bad \x1b[31mred\n") << "replaced only on its way to the log";
  EXPECT_FALSE(escape.out.errorCut);
  // Far more than is kept: the command must not block on a full pipe, and the rest is dropped.
  const Ran huge = RunScript(folder, "head -c 3000000 /dev/zero | tr '\\0' e >&2; echo done");
  EXPECT_EQ(huge.status, FetchStatus::kFetched) << huge.error;
  EXPECT_EQ(huge.out.output, "done\n");
  EXPECT_EQ(huge.out.errorText, std::string(kMaxCommandErrorBytes, 'e'));
  EXPECT_TRUE(huge.out.errorCut);
}

// The background sleeper shares the group, so the time limit ends it too.
TEST(CommandRun, TimeLimitKillsTheWholeGroup) {
  TempFolder folder;
  const Ran ran = RunScript(folder, "sleep 60 & echo $! > sleeper.pid; echo started; wait", 1);
  EXPECT_EQ(ran.status, FetchStatus::kFailed);
  EXPECT_EQ(ran.error, "still running after 1 s");
  EXPECT_EQ(ran.out.output, "started\n");
  EXPECT_LT(ran.seconds, 1 + kKillGraceSeconds + 3);
  EXPECT_TRUE(NoChildLeft());
  pid_t sleeper = 0;
  std::ifstream(folder.Path("sleeper.pid")) >> sleeper;
  ASSERT_GT(sleeper, 0);
  // The signal is sent; a loaded machine may take a moment to carry it out.
  std::string state;
  EXPECT_TRUE(loopback::testing::WaitFor([&] {
    std::ifstream stat("/proc/" + std::to_string(sleeper) + "/stat");
    std::string pidText, comm;
    state.clear();
    stat >> pidText >> comm >> state;
    return state.empty() || state == "Z" || state == "X";
  })) << "the sleeper is gone or dead, not '"
      << state << "'";
}

// A command that ignores SIGTERM still ends: SIGKILL follows.
TEST(CommandRun, StopEndsAStubbornCommandAtOnce) {
  TempFolder folder;
  const std::string script =
      folder.Script("stubborn.sh", "trap '' TERM; touch ready; while :; do sleep 1; done");
  StopSignal stop;
  std::promise<Ran> done;
  auto result = done.get_future();
  std::thread runner([&] { done.set_value(RunFor({{script}, folder.path(), 60, 100}, stop)); });
  ASSERT_TRUE(loopback::testing::WaitFor([&] { return std::filesystem::exists(folder.Path("ready")); }))
      << "the script runs";
  stop.Request();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(2)), std::future_status::ready) << "stopped within 2 s";
  runner.join();
  const Ran ran = result.get();
  EXPECT_EQ(ran.status, FetchStatus::kStopped);
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace live
