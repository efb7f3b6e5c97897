// A program run for what it prints: a chain or a price from a command of the configuration. It
// runs without a shell in the folder given and in a process group of its own, bounded in time
// and output; when it is cut short the whole group is killed, and it never stays a zombie.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "live/fetch_status.h"
#include "live/stop_signal.h"

namespace live {

// The standard error kept of one run; the rest is read and dropped.
inline constexpr size_t kMaxCommandErrorBytes = size_t{64} << 10;
// Between SIGTERM and SIGKILL to the group of a command cut short.
inline constexpr double kKillGraceSeconds = 0.5;

struct CommandRequest {
  std::vector<std::string> argv;  // program and arguments; a program without '/' is looked up in PATH
  std::string dir;                // where it runs
  double timeoutSeconds = 30;
  size_t maxOutputBytes = 0;
  size_t maxErrorBytes = kMaxCommandErrorBytes;
};

struct CommandOutput {
  std::string output;     // standard output, whole
  std::string errorText;  // the start of standard error, as it was printed
  bool errorCut = false;  // standard error went on past maxErrorBytes
};

// Runs `request.argv` with standard input from /dev/null and the default signal handling.
// kFetched when it exits with status 0 (its output may be empty); kStopped when `stop` rises
// first (the group is killed); kFailed with `*error` saying why: it cannot be started, exits
// with another status or on a signal, prints more than maxOutputBytes or outlives its time (the
// group is killed then). `*out` keeps what arrived in every case.
FetchStatus RunCommand(const CommandRequest& request, const StopSignal& stop, CommandOutput* out,
                       std::string* error);

}  // namespace live
