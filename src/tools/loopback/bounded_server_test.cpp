#include "loopback/bounded_server.h"

#include <gtest/gtest.h>

#include <vector>

#include "loopback/loopback_listener.h"
#include "loopback/loopback_test_support.h"

namespace loopback {
namespace {

using std::chrono::milliseconds;
using testing::RawClient;
using testing::WaitFor;

// GET / answers "hello", POST /echo its body; a request with X-Refuse is refused before its
// body is read, as the page's guard refuses.
std::unique_ptr<BoundedServer> Hello(ServerLimits limits) {
  auto server = std::make_unique<BoundedServer>(limits);
  server->set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
    if (!request.has_header("X-Refuse")) return httplib::Server::HandlerResponse::Unhandled;
    response.status = 403;
    response.set_content("refused by the guard\n", "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
  server->Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("hello", "text/plain");
  });
  server->Post("/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(request.body, "text/plain");
  });
  return server;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class BoundedServerTest : public ::testing::Test {
 protected:
  void Start(ServerLimits limits) {
    std::string error;
    ASSERT_TRUE(listener_.Start(Hello(limits), 0, &error)) << error;
  }
  // A client that must get an answer within a second.
  httplib::Result GetHello() const {
    httplib::Client client("127.0.0.1", listener_.Port());
    client.set_connection_timeout(1, 0);
    client.set_read_timeout(1, 0);
    return client.Get("/");
  }
  RawClient Connect() const { return RawClient(listener_.Port()); }

  Listener listener_{"the test server"};
};

// With cpp-httplib's own pool every worker waited on a slow client and the rest queued behind.
TEST_F(BoundedServerTest, AHundredSlowConnectionsLeaveAWellBehavedRequestItsAnswer) {
  Start({});
  std::vector<RawClient> slow;
  for (int i = 0; i < 100; ++i) {
    slow.push_back(Connect());
    ASSERT_TRUE(slow.back().Send("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: 1\r\n")) << i;
  }
  const httplib::Result hello = GetHello();
  ASSERT_TRUE(hello) << httplib::to_string(hello.error());
  EXPECT_EQ(hello->body, "hello");
}

TEST_F(BoundedServerTest, ARequestThatDoesNotArriveByItsDeadlineIsAnswered408AndClosed) {
  ServerLimits limits;
  limits.idle = milliseconds(200);
  limits.request = milliseconds(300);
  Start(limits);
  const struct {
    const char* name;
    const char* start;
    const char* trickle;  // sent every 20 ms after `start`
  } cases[] = {
      {"a header line at a time", "GET / HTTP/1.1\r\n", "X-Slow: 1\r\n"},
      {"a body a byte at a time", "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n", "x"},
      {"a body that stops", "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\n\r\nabc", ""},
  };
  for (const auto& c : cases) {
    RawClient client = Connect();
    ASSERT_TRUE(client.Send(c.start)) << c.name;
    bool closed = false;
    for (int turn = 0; turn < 150 && !closed; ++turn) {
      if (*c.trickle) client.Send(c.trickle);
      closed = client.ReadUntilClosed(milliseconds(20));
    }
    ASSERT_TRUE(closed) << c.name << ": still open after 3 s";
    EXPECT_EQ(client.Received().rfind("HTTP/1.1 408 ", 0), 0u) << c.name << ": " << client.Received();
    EXPECT_EQ(Count(client.Received(), "Connection: close\r\n"), 1u) << c.name;
    EXPECT_NE(client.Received().find("\r\n\r\nthe request did not arrive in time\n"), std::string::npos)
        << c.name;
  }
  RawClient silent = Connect();
  EXPECT_TRUE(silent.ReadUntilClosed(milliseconds(3000))) << "a client that never sends is closed when idle";
  EXPECT_EQ(silent.Received(), "");
}

TEST_F(BoundedServerTest, AConnectionCarriesRequestsUntilItIdles) {
  ServerLimits limits;
  limits.idle = milliseconds(200);
  Start(limits);
  RawClient client = Connect();
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\nGET / HTTP/1.1\r\nHost: x\r\n\r\n"));
  ASSERT_TRUE(client.ReadUntilClosed(milliseconds(3000)));
  EXPECT_EQ(Count(client.Received(), "HTTP/1.1 200 OK\r\n"), 2u) << client.Received();
  EXPECT_EQ(Count(client.Received(), "\r\n\r\nhello"), 2u) << client.Received();
}

// A refused request's body may be unread; the connection must not take it for the next request.
TEST_F(BoundedServerTest, RefusalsSayConnectionCloseAndClose) {
  ServerLimits limits;
  limits.bodyBytes = 16;
  Start(limits);
  const struct {
    const char* name;
    std::string request;
    const char* answer;  // the status line
    const char* reason;
  } cases[] = {
      {"guard",
       "POST /echo HTTP/1.1\r\nHost: x\r\nX-Refuse: 1\r\nContent-Length: 27\r\n\r\nGET / HTTP/1.1\r\nHost: "
       "x\r\n\r\n",
       "HTTP/1.1 403 ", "refused by the guard\n"},
      {"body over the limit", "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 17\r\n\r\n12345678901234567",
       "HTTP/1.1 413 ", "the request body is over 16 bytes\n"},
      {"chunked body over the limit",
       "POST /echo HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n" + std::string(64, 'x') +
           "\r\n0\r\n\r\n",
       "HTTP/1.1 413 ", "the request body is over 16 bytes\n"},
      {"no request line", "\r\n\r\n", "HTTP/1.1 400 ", "bad request\n"},
  };
  for (const auto& c : cases) {
    RawClient client = Connect();
    ASSERT_TRUE(client.Send(c.request)) << c.name;
    ASSERT_TRUE(client.ReadUntilClosed(milliseconds(3000))) << c.name << ": still open";
    const std::string& received = client.Received();
    EXPECT_EQ(received.rfind(c.answer, 0), 0u) << c.name << ": " << received;
    EXPECT_EQ(Count(received, "Connection: close\r\n"), 1u) << c.name << ": " << received;
    EXPECT_EQ(Count(received, "HTTP/1.1 "), 1u) << c.name << ": one answer";
    EXPECT_EQ(received.substr(received.find("\r\n\r\n") + 4), c.reason) << c.name;
  }
  httplib::Client client("127.0.0.1", listener_.Port());
  const httplib::Result fits = client.Post("/echo", std::string(16, 'x'), "text/plain");
  ASSERT_TRUE(fits);
  EXPECT_EQ(fits->status, 200) << "a body at the limit is taken";
}

TEST_F(BoundedServerTest, PastTheCapAConnectionIsRefusedWith503AndAFreedPlaceServesAgain) {
  ServerLimits limits;
  limits.connections = 3;
  limits.idle = milliseconds(20000);
  Start(limits);
  std::vector<RawClient> held;
  for (int i = 0; i < 3; ++i) held.push_back(Connect());
  RawClient refused = Connect();
  ASSERT_TRUE(refused.ReadUntilClosed(milliseconds(3000)));
  EXPECT_EQ(refused.Received().rfind("HTTP/1.1 503 ", 0), 0u) << refused.Received();
  EXPECT_NE(refused.Received().find("Connection: close\r\n"), std::string::npos) << refused.Received();

  held.front().Close();
  EXPECT_TRUE(WaitFor([&] { return static_cast<bool>(GetHello()); }, milliseconds(3000)))
      << "the place of a closed connection is given back";
}

// Before the registry, Stop waited on every read in progress: up to cpp-httplib's 5 s per line,
// for ever for a client sending a line a second.
TEST_F(BoundedServerTest, StopEndsEveryConnectionWithinTwoSecondsWhateverTheClientsDo) {
  Start({});
  std::vector<RawClient> clients;
  clients.push_back(Connect());  // silent
  clients.push_back(Connect());
  ASSERT_TRUE(clients.back().Send("GET / HTTP/1.1\r\nHost: x\r\nX-Slow: 1\r\n"));
  clients.push_back(Connect());
  ASSERT_TRUE(clients.back().Send("POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nhalf"));
  clients.push_back(Connect());
  ASSERT_TRUE(clients.back().Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n"));  // kept alive, idle
  ASSERT_TRUE(clients.back().ReadUntilSeen("hello", milliseconds(3000)));
  // Connections are taken in order: once a later request is answered, these are being served.
  ASSERT_TRUE(GetHello());

  const auto start = std::chrono::steady_clock::now();
  listener_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(2000));
  for (size_t i = 0; i < clients.size(); ++i)
    EXPECT_TRUE(clients[i].ReadUntilClosed(milliseconds(1000))) << i;
}

}  // namespace
}  // namespace loopback
