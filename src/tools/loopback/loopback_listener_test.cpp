#include "loopback/loopback_listener.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "loopback/loopback_test_support.h"

namespace loopback {
namespace {

std::unique_ptr<BoundedServer> Hello() {
  auto server = std::make_unique<BoundedServer>();
  server->Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("hello", "text/plain");
  });
  return server;
}

TEST(Listener, TakesAFreePortRefusesATakenOneAndStopsCleanly) {
  Listener first("the first server"), second("the second server");
  std::string error;
  ASSERT_TRUE(first.Start(Hello(), 0, &error)) << error;
  EXPECT_EQ(first.Origin(), "http://127.0.0.1:" + std::to_string(first.Port()));
  EXPECT_FALSE(second.Start(Hello(), first.Port(), &error)) << "the port is taken";
  EXPECT_EQ(error, "cannot listen on 127.0.0.1:" + std::to_string(first.Port()));
  EXPECT_FALSE(second.Start(Hello(), 65536, &error));
  EXPECT_EQ(error, "port 65536 is outside 0..65535");
  EXPECT_FALSE(first.Start(Hello(), 0, &error));
  EXPECT_EQ(error, "the first server already runs");

  const int port = first.Port();
  httplib::Client client("127.0.0.1", port);
  const httplib::Result hello = client.Get("/");
  ASSERT_TRUE(hello);
  EXPECT_EQ(hello->body, "hello");
  first.Stop();
  EXPECT_FALSE(first.Running());
  EXPECT_EQ(first.Port(), 0);
  EXPECT_EQ(first.Origin(), "");
  EXPECT_FALSE(httplib::Client("127.0.0.1", port).Get("/")) << "nothing listens after Stop";
  ASSERT_TRUE(first.Start(Hello(), 0, &error)) << "restart: " << error;
  EXPECT_TRUE(first.Running());
}

// A service that others reach listens on the address it is given, and says so in its origin.
TEST(Listener, ListensOnTheHostItIsGiven) {
  const struct {
    const char* host;
    const char* originHost;
  } cases[] = {{"127.0.0.2", "127.0.0.2"}, {"::1", "[::1]"}};
  for (const auto& c : cases) {
    Listener listener("the server");
    std::string error;
    ASSERT_TRUE(listener.Start(Hello(), 0, &error, c.host)) << c.host << ": " << error;
    EXPECT_EQ(listener.Origin(),
              std::string("http://") + c.originHost + ":" + std::to_string(listener.Port()));
    httplib::Client client(c.host, listener.Port());
    const httplib::Result hello = client.Get("/");
    ASSERT_TRUE(hello) << c.host;
    EXPECT_EQ(hello->body, "hello") << c.host;
  }
}

// A handler that waits on its owner's condition must be woken by Stop, and see Stopping() then;
// a restarted listener is not stopping.
TEST(Listener, StopWakesTheWaitingHandlersWithStoppingSet) {
  std::mutex mutex;
  std::condition_variable wake;
  int waiting = 0;
  bool stoppingWhenWoken = false;
  Listener listener("the waiting server", [&] {
    stoppingWhenWoken = listener.Stopping();
    { std::lock_guard lock(mutex); }
    wake.notify_all();
  });
  const auto waitingServer = [&] {
    auto server = std::make_unique<BoundedServer>();
    server->Get("/", [&](const httplib::Request&, httplib::Response& response) {
      std::unique_lock lock(mutex);
      ++waiting;
      // Far beyond the test's deadline: only the wake ends this wait in time.
      wake.wait_for(lock, std::chrono::seconds(30), [&] { return listener.Stopping(); });
      response.set_content(listener.Stopping() ? "stopping" : "waited out", "text/plain");
    });
    return server;
  };
  std::string error;
  ASSERT_TRUE(listener.Start(waitingServer(), 0, &error)) << error;
  EXPECT_FALSE(listener.Stopping());
  auto pending = std::async(std::launch::async, [port = listener.Port()] {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60, 0);
    return client.Get("/");
  });
  ASSERT_TRUE(testing::WaitFor([&] {
    std::lock_guard lock(mutex);
    return waiting == 1;
  })) << "the request reaches the handler";

  const auto start = std::chrono::steady_clock::now();
  listener.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(stoppingWhenWoken);
  const httplib::Result answer = pending.get();
  ASSERT_TRUE(answer) << httplib::to_string(answer.error());
  EXPECT_EQ(answer->body, "stopping");
  ASSERT_TRUE(listener.Start(waitingServer(), 0, &error)) << "restart: " << error;
  EXPECT_FALSE(listener.Stopping());
}

}  // namespace
}  // namespace loopback
