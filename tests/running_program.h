// Shared by the end-to-end tests that run `ordinel` in the background as a user does (a server
// that stays up): its standard output and error go to files the test reads while it runs, and
// whatever still runs when the test ends is killed. Each program defines ORDINEL_PROGRAM.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace running_program {

// The whole file as bytes; empty when it cannot be read.
inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Polls `done` every two milliseconds; true once it holds, false when `timeout` passes first.
inline bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// One run of the program in the background.
class Running {
 public:
  // Starts ORDINEL_PROGRAM with `args`, the test's environment plus `extraEnv` ("NAME=VALUE"),
  // standard input reading the file `input` when one is named.
  explicit Running(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {},
                   const std::string& input = "") {
    static int counter = 0;
    base_ = testing::TempDir() + "/ordinel_run_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (base_ + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, (base_ + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (!input.empty()) posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    std::vector<std::string> all = {ORDINEL_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, ORDINEL_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  // Kills what still runs, so that a failed test leaves no process behind.
  ~Running() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    unlink((base_ + ".out").c_str());
    unlink((base_ + ".err").c_str());
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

  // The first match of `pattern`'s group 1 on standard output; empty when none comes in `timeout`.
  std::string AwaitOutput(const std::string& pattern, std::chrono::milliseconds timeout) const {
    std::smatch match;
    const std::regex expression(pattern);
    std::string out;
    PollUntil([&] { return std::regex_search(out = Slurp(base_ + ".out"), match, expression); }, timeout);
    return match.size() > 1 ? match[1].str() : "";
  }
  void Signal(int signal) const { kill(pid_, signal); }
  // True when the process exited (its status in ExitCode()) within `timeout`.
  bool AwaitExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return false;
    PollUntil(
        [&] {
          int status = 0;
          if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
          exited_ = true;
          exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
          return true;
        },
        timeout);
    return exited_;
  }
  int ExitCode() const { return exitCode_; }
  std::string Out() const { return Slurp(base_ + ".out"); }
  std::string Err() const { return Slurp(base_ + ".err"); }

 private:
  std::string base_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int exitCode_ = -1;
};

}  // namespace running_program
