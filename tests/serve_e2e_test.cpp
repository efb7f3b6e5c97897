// Runs the two servers of the program, `ordinel chart --serve` and `ordinel service`, as a user
// does, holds a slow connection open on each and stops them with signals: each must end within
// two seconds, the chart page's changes saved to its chart file.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "loopback/loopback_test_support.h"

extern char** environ;

namespace {

using loopback::testing::RawClient;
using loopback::testing::WaitFor;
using std::chrono::milliseconds;

std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// One run of the program in the background, its standard output and error going to files.
class Running {
 public:
  explicit Running(const std::vector<std::string>& args) {
    static int counter = 0;
    base_ = testing::TempDir() + "/ordinel_serve_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (base_ + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (base_ + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = {ORDINEL_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, ORDINEL_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
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

  // The first match of `pattern`'s group 1 on standard output; empty when none comes in `timeout`.
  std::string AwaitOutput(const std::string& pattern, milliseconds timeout) const {
    std::smatch match;
    const std::regex expression(pattern);
    std::string out;
    WaitFor([&] { return std::regex_search(out = Slurp(base_ + ".out"), match, expression); }, timeout);
    return match.size() > 1 ? match[1].str() : "";
  }
  void Signal(int signal) const { kill(pid_, signal); }
  // True when the process exited (its status in ExitCode()) within `timeout`.
  bool AwaitExit(milliseconds timeout) {
    WaitFor([&] {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
      exited_ = true;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    }, timeout);
    return exited_;
  }
  int ExitCode() const { return exitCode_; }
  std::string Err() const { return Slurp(base_ + ".err"); }

 private:
  std::string base_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int exitCode_ = -1;
};

// A client that sends a request line and then a header line every second, for ever: cpp-httplib
// waited for each line anew, so a server never got past it.
class SlowClient {
 public:
  explicit SlowClient(int port) : client_(port) {
    EXPECT_TRUE(client_.Send("GET / HTTP/1.1\r\n"));
    thread_ = std::thread([this] {
      std::unique_lock lock(mutex_);
      while (!done_ && !wake_.wait_for(lock, milliseconds(1000), [this] { return done_; })) {
        if (client_.Send("X-Slow: 1\r\n")) ++linesSent_;
      }
    });
  }
  // True once a header line has gone out after the request line, so that the server has had a
  // second to take the connection in.
  bool AwaitSending() const { return WaitFor([this] { return linesSent_ > 0; }, milliseconds(5000)); }
  ~SlowClient() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  RawClient client_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::atomic<int> linesSent_{0};
  std::thread thread_;
};

// Sends the page's change of `label` to `value` as the page does; the status line of the answer.
std::string ChangeInput(int port, const std::string& label, const std::string& value) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  RawClient page(port);
  page.Send("GET / HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
  page.ReadUntilClosed(milliseconds(5000));
  std::smatch token;
  std::regex_search(page.Received(), token, std::regex("name=\"ordinel-token\" content=\"([0-9a-f]{32})\""));
  const std::string body = "label=" + label + "&value=" + value;
  RawClient change(port);
  change.Send("POST /api/input HTTP/1.1\r\nHost: " + host + "\r\nOrigin: http://" + host + "\r\nX-Ordinel-Token: " +
              (token.size() > 1 ? token[1].str() : "") +
              "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
              "\r\nConnection: close\r\n\r\n" + body);
  change.ReadUntilClosed(milliseconds(5000));
  return change.Received().substr(0, change.Received().find("\r\n"));
}

constexpr milliseconds kStartTimeout{30000};
constexpr milliseconds kStopDeadline{2000};

TEST(ServeStop, TheChartPageSavesItsChangesAndStopsWithinTwoSecondsWhateverAClientDoes) {
  const struct {
    const char* name;
    std::vector<int> signals;
  } cases[] = {{"SIGTERM", {SIGTERM}}, {"SIGINT twice", {SIGINT, SIGINT}}};
  for (const auto& c : cases) {
    const std::string chartFile = testing::TempDir() + "/ordinel_serve_chart_" + std::to_string(getpid()) + ".json";
    unlink(chartFile.c_str());
    Running chart({"chart", "--serve", "--port", "0", "--chart-file", chartFile, "--pace", "0"});
    const std::string port = chart.AwaitOutput("Serving the chart at http://127\\.0\\.0\\.1:([0-9]+)/", kStartTimeout);
    ASSERT_FALSE(port.empty()) << c.name << ": " << chart.Err();
    EXPECT_EQ(ChangeInput(std::stoi(port), "Draw+Max+Pain", "Yes"), "HTTP/1.1 200 OK") << c.name;
    SlowClient slow(std::stoi(port));
    ASSERT_TRUE(slow.AwaitSending()) << c.name;
    for (const int signal : c.signals) chart.Signal(signal);
    ASSERT_TRUE(chart.AwaitExit(kStopDeadline)) << c.name << ": still running";
    EXPECT_EQ(chart.ExitCode(), 0) << c.name << ": " << chart.Err();
    EXPECT_NE(Slurp(chartFile).find("\"Draw Max Pain\": true"), std::string::npos) << c.name << ": " << Slurp(chartFile);
    unlink(chartFile.c_str());
  }
}

TEST(ServeStop, TheSampleServiceStopsWithinTwoSecondsWhateverAClientDoes) {
  Running service({"service", "--port", "0"});
  const std::string port = service.AwaitOutput("listening on http://127\\.0\\.0\\.1:([0-9]+)", kStartTimeout);
  ASSERT_FALSE(port.empty()) << service.Err();
  SlowClient slow(std::stoi(port));
  ASSERT_TRUE(slow.AwaitSending());
  service.Signal(SIGTERM);
  ASSERT_TRUE(service.AwaitExit(kStopDeadline)) << "still running";
  EXPECT_EQ(service.ExitCode(), 0) << service.Err();
}

}  // namespace
