#include "live/command_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>

#include "formats/file_io.h"
#include "text/fail.h"
#include "text/format.h"

extern char** environ;

namespace live {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A wait for the command looks at the stop flag at least this often (for a system that gave the
// stop signal no descriptor).
constexpr int kPollMs = 250;
constexpr size_t kReadChunk = size_t{64} << 10;

std::string SystemReason(int code) { return std::generic_category().message(code); }

class OwnedFd {
 public:
  explicit OwnedFd(int fd = -1) : fd_(fd) {}
  ~OwnedFd() { Close(); }
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
  int get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }
  void Close() { Reset(); }

 private:
  int fd_;
};

// The child starts with no signal blocked (the service blocks its stop signals in every thread)
// and the default action for those a parent may ignore, alone in its own process group.
bool SpawnAttributes(posix_spawnattr_t* attr) {
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) sigaddset(&defaults, signal);
  return posix_spawnattr_setflags(
             attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0 &&
         posix_spawnattr_setpgroup(attr, 0) == 0 && posix_spawnattr_setsigmask(attr, &none) == 0 &&
         posix_spawnattr_setsigdefault(attr, &defaults) == 0;
}

bool SpawnActions(posix_spawn_file_actions_t* actions, const std::string& dir, int outFd, int errFd) {
  return posix_spawn_file_actions_addopen(actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
         posix_spawn_file_actions_adddup2(actions, outFd, 1) == 0 &&
         posix_spawn_file_actions_adddup2(actions, errFd, 2) == 0 &&
         posix_spawn_file_actions_addchdir_np(actions, dir.c_str()) == 0 &&
         posix_spawn_file_actions_addclosefrom_np(actions, 3) == 0;
}

bool Spawn(const CommandRequest& request, int outFd, int errFd, pid_t* pid, std::string* error) {
  if (request.argv.empty() || request.argv[0].empty()) return text::Fail(error, "no program to run");
  std::vector<char*> argv;
  for (const std::string& arg : request.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_init(&attr);
  posix_spawn_file_actions_init(&actions);
  int code = SpawnAttributes(&attr) && SpawnActions(&actions, request.dir, outFd, errFd) ? 0 : EINVAL;
  if (code == 0) code = posix_spawnp(pid, argv[0], &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (code == 0) return true;
  return text::Fail(error, "cannot run " + request.argv[0] + ": " + SystemReason(code));
}

// True when `fd` became readable within `ms` milliseconds.
bool Readable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}

// Ends the group of `pid` (SIGTERM, then SIGKILL after the grace) and reaps `pid`. The leader is
// reaped only after the SIGKILL, so the group's id cannot have gone to another group meanwhile.
void KillGroup(pid_t pid, int pidFd) {
  kill(-pid, SIGTERM);
  Readable(pidFd, static_cast<int>(kKillGraceSeconds * 1000));
  kill(-pid, SIGKILL);
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

std::string ExitText(int status) {
  if (WIFEXITED(status)) return text::Format("exited with status %d", WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return text::Format("ended by signal %d", WTERMSIG(status));
  return "ended abnormally";
}

// Reads what is there from `fd` into `*into`, keeping at most `limit` bytes; false at its end
// (or on a read error).
bool ReadSome(int fd, std::string* into, size_t limit, bool* cut) {
  char buffer[kReadChunk];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n < 0) return errno == EINTR || errno == EAGAIN;
  if (n == 0) return false;
  const size_t room = limit - std::min(limit, into->size());
  into->append(buffer, std::min(room, static_cast<size_t>(n)));
  if (static_cast<size_t>(n) > room) *cut = true;
  return true;
}

// One running command: its pipes, its pidfd and what it printed so far.
struct Run {
  pid_t pid = -1;
  OwnedFd pidFd, out, err;
  bool exited = false, outputCut = false;
};

enum class Waited { kDone, kStopped, kTimedOut, kTooMuchOutput };

// Reads both pipes until they end and the child exits, or something cuts the run short.
Waited Watch(Run& run, const CommandRequest& request, const StopSignal& stop, CommandOutput* out) {
  const auto deadline = SteadyClock::now() + std::chrono::duration<double>(request.timeoutSeconds);
  while (run.out.get() >= 0 || run.err.get() >= 0 || !run.exited) {
    if (stop.Requested()) return Waited::kStopped;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    if (left.count() <= 0) return Waited::kTimedOut;
    pollfd fds[4] = {{run.out.get(), POLLIN, 0},
                     {run.err.get(), POLLIN, 0},
                     {run.exited ? -1 : run.pidFd.get(), POLLIN, 0},
                     {stop.Fd(), POLLIN, 0}};
    const int waitMs = static_cast<int>(std::min<long long>(left.count() + 1, kPollMs));
    if (poll(fds, 4, waitMs) < 0 && errno != EINTR) return Waited::kTimedOut;
    if (fds[0].revents != 0 &&
        !ReadSome(run.out.get(), &out->output, request.maxOutputBytes, &run.outputCut)) {
      run.out.Close();
    }
    if (run.outputCut) return Waited::kTooMuchOutput;
    if (fds[1].revents != 0 &&
        !ReadSome(run.err.get(), &out->errorText, request.maxErrorBytes, &out->errorCut)) {
      run.err.Close();
    }
    if (fds[2].revents != 0) run.exited = true;
  }
  return Waited::kDone;
}

// Starts the child with its output and error on two fresh pipes whose reading ends `run` keeps.
bool Start(const CommandRequest& request, Run* run, std::string* error) {
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return text::Fail(error, "cannot make a pipe: " + SystemReason(errno));
  run->out.Reset(outPipe[0]);
  OwnedFd outWrite(outPipe[1]);
  if (pipe2(errPipe, O_CLOEXEC) != 0) return text::Fail(error, "cannot make a pipe: " + SystemReason(errno));
  run->err.Reset(errPipe[0]);
  OwnedFd errWrite(errPipe[1]);
  if (!Spawn(request, outWrite.get(), errWrite.get(), &run->pid, error)) return false;
  // Through syscall(): glibc 2.36 declares pidfd_open without C linkage for C++.
  run->pidFd.Reset(static_cast<int>(syscall(SYS_pidfd_open, run->pid, 0)));
  if (run->pidFd.get() >= 0) return true;
  const int why = errno;
  kill(-run->pid, SIGKILL);
  while (waitpid(run->pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return text::Fail(error, "cannot watch the command: " + SystemReason(why));
}

}  // namespace

FetchStatus RunCommand(const CommandRequest& request, const StopSignal& stop, CommandOutput* out,
                       std::string* error) {
  Run run;
  if (!Start(request, &run, error)) return FetchStatus::kFailed;
  const Waited waited = Watch(run, request, stop, out);
  if (waited != Waited::kDone) {
    KillGroup(run.pid, run.pidFd.get());
    if (waited == Waited::kStopped) return FetchStatus::kStopped;
    *error = waited == Waited::kTimedOut ? text::Format("still running after %g s", request.timeoutSeconds)
                                         : "printed more than " + formats::SizeText(request.maxOutputBytes);
    return FetchStatus::kFailed;
  }
  int status = 0;
  while (waitpid(run.pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return FetchStatus::kFetched;
  *error = ExitText(status);
  return FetchStatus::kFailed;
}

}  // namespace live
