// The WinHTTP GET against the sample levels service on loopback (its address in
// ORDINEL_TEST_SERVICE, with the faults scripts/test-windows.sh gives it), and against a
// one-connection server of its own for what the service cannot show: the request as sent, a
// body without an announced length, an answer that never comes.
#include "platform/windows/winhttp_get.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace platform {
namespace {

constexpr const char* kResearchTarget =
    "/market-context/indicator-research?symbol=NQ&source=QQQ&day=2025-01-02";

// The service's address; empty (and the calling test failed) when the test run started none.
std::string ServiceOrigin() {
  const char* origin = std::getenv("ORDINEL_TEST_SERVICE");
  if (origin && *origin) return origin;
  ADD_FAILURE() << "ORDINEL_TEST_SERVICE names no sample levels service; run "
                   "scripts/test-windows.sh, which starts one";
  return {};
}

// A sample answer, read from the working directory (the sample answers folder).
std::string SampleFile(const char* name) {
  std::ifstream file(name, std::ios::binary);
  EXPECT_TRUE(file) << name << " is not in the working directory";
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

HttpGetLimits Limits(size_t maxBodyBytes) {
  HttpGetLimits limits;
  limits.maxBodyBytes = maxBodyBytes;
  limits.userAgent = "Ordinel-Windows-Test/1.0";
  return limits;
}

TEST(WinHttpGet, SampleServiceAnswersWithinTheLimits) {
  const std::string origin = ServiceOrigin();
  ASSERT_FALSE(origin.empty());
  const std::string research = SampleFile("research_NQ.json");
  ASSERT_FALSE(research.empty());
  struct Case {
    std::string target;
    size_t limit;
    unsigned status;
    std::string body;
  };
  const Case cases[] = {
      {kResearchTarget, research.size(), 200, research},  // exactly at the limit
      {kResearchTarget, research.size() - 1, 0, ""},      // one byte over
      {"/unavailable-empty", research.size(), 503, ""},   // fault: status=503,truncate=0
      {"/not-served", research.size(), 404, ""},          // a body, but only 200 keeps one
      {"/moved", research.size(), 302, ""},               // fault: redirect=<research>
  };
  for (const Case& c : cases) {
    const HttpGetResult result = WinHttpGet(origin + c.target, Limits(c.limit));
    EXPECT_EQ(result.status, c.status) << c.target << " limit " << c.limit;
    EXPECT_EQ(result.body, c.body) << c.target << " limit " << c.limit;
  }
}

TEST(WinHttpGet, UrlsThatAreNotPlainWebAddressesGiveNoStatus) {
  const char* urls[] = {
      "",
      "ftp://127.0.0.1/x",
      "file:///C:/windows/win.ini",
      "/market-context/indicator-research",
      "http://",
      "http://127.0.0.1/a b",
      "http://127.0.0.1/a\r\nHost: elsewhere",
      "http://127.0.0.1:1/",  // nothing listens there
  };
  for (const char* url : urls) {
    const HttpGetResult result = WinHttpGet(url, Limits(1000));
    EXPECT_EQ(result.status, 0u) << url;
    EXPECT_EQ(result.body, "") << url;
  }
}

// Listens on a free loopback port and serves one connection: reads the request head, then
// sends `answer` and closes, or with no answer holds the connection until destroyed.
class OneConnectionServer {
 public:
  explicit OneConnectionServer(std::optional<std::string> answer) {
    static const bool winsock = [] {
      WSADATA data;
      return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    listener_ = winsock ? socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, answer = std::move(answer)] { Serve(answer); });
  }
  ~OneConnectionServer() {
    release_.set_value();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);  // ends a waiting accept
    if (thread_.joinable()) thread_.join();
  }
  OneConnectionServer(const OneConnectionServer&) = delete;
  OneConnectionServer& operator=(const OneConnectionServer&) = delete;

  // 0 when the server could not listen.
  int Port() const { return port_; }
  std::string Url(const char* target) const { return "http://127.0.0.1:" + std::to_string(port_) + target; }
  // The request head as received (up to its blank line).
  std::string RequestHead() {
    std::lock_guard lock(mutex_);
    return head_;
  }

 private:
  void Serve(const std::optional<std::string>& answer) {
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      head.append(buffer, static_cast<size_t>(got));
    }
    {
      std::lock_guard lock(mutex_);
      head_ = head;
    }
    if (answer) {
      send(client, answer->data(), static_cast<int>(answer->size()), 0);
    } else {
      released_.wait();
    }
    shutdown(client, SD_SEND);
    closesocket(client);
  }

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::string head_;
  std::promise<void> release_;
  std::shared_future<void> released_ = release_.get_future().share();
};

TEST(WinHttpGet, SendsAPlainGetWithTheUserAgent) {
  OneConnectionServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
  ASSERT_NE(server.Port(), 0);
  const HttpGetResult result = WinHttpGet(server.Url("/agent?symbol=NQ&day=2025-01-02"), Limits(100));
  EXPECT_EQ(result.status, 200u);
  EXPECT_EQ(result.body, "ok");
  const std::string head = server.RequestHead();
  EXPECT_EQ(head.rfind("GET /agent?symbol=NQ&day=2025-01-02 HTTP/1.1\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: Ordinel-Windows-Test/1.0\r\n"), std::string::npos) << head;
}

// Without an announced length only the bytes read can tell: the limit holds there too.
TEST(WinHttpGet, UnannouncedBodyIsCountedAgainstTheLimit) {
  const std::string answer = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n0123456789";
  const struct {
    size_t limit;
    unsigned status;
    const char* body;
  } cases[] = {{10, 200, "0123456789"}, {9, 0, ""}};
  for (const auto& c : cases) {
    OneConnectionServer server(answer);
    ASSERT_NE(server.Port(), 0);
    const HttpGetResult result = WinHttpGet(server.Url("/stream"), Limits(c.limit));
    EXPECT_EQ(result.status, c.status) << "limit " << c.limit;
    EXPECT_EQ(result.body, c.body) << "limit " << c.limit;
  }
}

TEST(WinHttpGet, AnswerThatNeverComesEndsAtTheReceiveTimeout) {
  OneConnectionServer server(std::nullopt);
  ASSERT_NE(server.Port(), 0);
  HttpGetLimits limits = Limits(100);
  limits.receiveTimeoutMs = 300;
  const HttpGetResult result = WinHttpGet(server.Url("/silent"), limits);
  EXPECT_EQ(result.status, 0u);
  EXPECT_EQ(result.body, "");
}

}  // namespace
}  // namespace platform
