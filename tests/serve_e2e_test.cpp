// Runs the two servers of the program, `ordinel chart --serve` and `ordinel service`, as a user
// does, holds a slow connection open on each and stops them with signals: each must end within
// two seconds, the chart page's changes saved to its chart file.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "loopback/loopback_test_support.h"
#include "running_program.h"

namespace {

using loopback::testing::RawClient;
using loopback::testing::WaitFor;
using running_program::Running;
using running_program::Slurp;
using std::chrono::milliseconds;

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
  bool AwaitSending() const {
    return WaitFor([this] { return linesSent_ > 0; }, milliseconds(5000));
  }
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
  change.Send("POST /api/input HTTP/1.1\r\nHost: " + host + "\r\nOrigin: http://" + host +
              "\r\nX-Ordinel-Token: " + (token.size() > 1 ? token[1].str() : "") +
              "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
              std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
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
    const std::string chartFile =
        testing::TempDir() + "/ordinel_serve_chart_" + std::to_string(getpid()) + ".json";
    unlink(chartFile.c_str());
    Running chart({"chart", "--serve", "--port", "0", "--chart-file", chartFile, "--pace", "0"});
    const std::string port =
        chart.AwaitOutput("Serving the chart at http://127\\.0\\.0\\.1:([0-9]+)/", kStartTimeout);
    ASSERT_FALSE(port.empty()) << c.name << ": " << chart.Err();
    EXPECT_EQ(ChangeInput(std::stoi(port), "Draw+Max+Pain", "Yes"), "HTTP/1.1 200 OK") << c.name;
    SlowClient slow(std::stoi(port));
    ASSERT_TRUE(slow.AwaitSending()) << c.name;
    for (const int signal : c.signals) chart.Signal(signal);
    ASSERT_TRUE(chart.AwaitExit(kStopDeadline)) << c.name << ": still running";
    EXPECT_EQ(chart.ExitCode(), 0) << c.name << ": " << chart.Err();
    EXPECT_NE(Slurp(chartFile).find("\"Draw Max Pain\": true"), std::string::npos)
        << c.name << ": " << Slurp(chartFile);
    unlink(chartFile.c_str());
  }
}

// A bounded soak: a hundred connections that never finish their request and two hundred clients
// of the event stream (eight take its places, the rest are refused) leave the page answering a
// well-behaved request within a second throughout, and SIGTERM still ends it in two seconds
// with the chart file saved.
TEST(ServeStop, TheChartPageAnswersAndStopsUnderSlowConnectionsAndManyStreamClients) {
  const std::string chartFile =
      testing::TempDir() + "/ordinel_soak_chart_" + std::to_string(getpid()) + ".json";
  unlink(chartFile.c_str());
  Running chart({"chart", "--serve", "--port", "0", "--chart-file", chartFile, "--pace", "0"});
  const std::string portText =
      chart.AwaitOutput("Serving the chart at http://127\\.0\\.0\\.1:([0-9]+)/", kStartTimeout);
  ASSERT_FALSE(portText.empty()) << chart.Err();
  const int port = std::stoi(portText);
  const std::string host = "Host: 127.0.0.1:" + portText + "\r\n";
  ASSERT_EQ(ChangeInput(port, "Draw+Max+Pain", "Yes"), "HTTP/1.1 200 OK");

  std::vector<RawClient> held;
  for (int i = 0; i < 100; ++i) {
    held.emplace_back(port);
    ASSERT_TRUE(held.back().Send("GET / HTTP/1.1\r\n" + host)) << "slow " << i;
  }
  for (int i = 0; i < 200; ++i) {
    held.emplace_back(port);
    ASSERT_TRUE(held.back().Send("GET /events HTTP/1.1\r\n" + host + "\r\n")) << "stream " << i;
  }
  int streaming = 0;
  for (size_t i = 100; i < held.size(); ++i) {
    ASSERT_TRUE(held[i].ReadUntilSeen("\r\n\r\n", milliseconds(5000))) << "stream " << i << " unanswered";
    const std::string status = held[i].Received().substr(0, 12);
    streaming += status == "HTTP/1.1 200";
    EXPECT_TRUE(status == "HTTP/1.1 200" || status == "HTTP/1.1 503") << i << ": " << status;
  }
  EXPECT_EQ(streaming, 8) << "the page's stream places";
  const auto soakEnd = std::chrono::steady_clock::now() + milliseconds(3000);
  for (int round = 0; std::chrono::steady_clock::now() < soakEnd; ++round) {
    RawClient client(port);
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Send("GET /api/frame HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n")) << round;
    ASSERT_TRUE(client.ReadUntilSeen("\r\n\r\n", milliseconds(1000))) << "round " << round << " unanswered";
    EXPECT_LT(std::chrono::steady_clock::now() - asked, milliseconds(1000)) << round;
    EXPECT_EQ(client.Received().substr(0, 15), "HTTP/1.1 200 OK")
        << round << ": " << client.Received().substr(0, 80);
    std::this_thread::sleep_for(
        milliseconds(200));  // pacing of the well-behaved client, not a wait for an event
  }
  chart.Signal(SIGTERM);
  ASSERT_TRUE(chart.AwaitExit(kStopDeadline)) << "still running";
  EXPECT_EQ(chart.ExitCode(), 0) << chart.Err();
  EXPECT_NE(Slurp(chartFile).find("\"Draw Max Pain\": true"), std::string::npos) << Slurp(chartFile);
  unlink(chartFile.c_str());
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
