#include "loopback/loopback_listener.h"

#include <gtest/gtest.h>

namespace loopback {
namespace {

std::unique_ptr<httplib::Server> Hello() {
  auto server = NewExclusiveServer();
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

}  // namespace
}  // namespace loopback
