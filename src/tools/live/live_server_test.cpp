#include "live/live_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "live/live_test_support.h"
#include "payload/payload_test_support.h"

namespace live {
namespace {

using testing::CaptureAt;
using testing::kQqqRatio;
using testing::SampleQqqChain;

class LiveServerTest : public testing::LiveFixture {
 protected:
  void Start(const std::string& token = "") {
    config_.token = token;
    answers_ = std::make_unique<LiveAnswers>(context_, state_);
    server_ = std::make_unique<LiveServer>(*answers_);
    std::string error;
    ASSERT_TRUE(server_->Start({"127.0.0.1", 0}, &error)) << error;
  }
  // A client that sends the target exactly as written, as the study's host does.
  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", server_->Port());
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    return client;
  }
  void TearDown() override {
    if (server_) server_->Stop();
  }
  std::unique_ptr<LiveAnswers> answers_;
  std::unique_ptr<LiveServer> server_;
};

TEST_F(LiveServerTest, AnswersTheStudysRequestsByGetAndPostAlike) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio));
  Start();
  EXPECT_EQ(server_->Origin(), "http://127.0.0.1:" + std::to_string(server_->Port()));
  for (const char* target :
       {"/extension/levels?symbol=NQ&mode=locked&basis=signed_flow",
        "/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", "/health"}) {
    const httplib::Result get = Client().Get(target);
    const httplib::Result post = Client().Post(target, "{}", "application/json");
    ASSERT_TRUE(get && post) << target;
    EXPECT_EQ(get->status, 200) << target;
    EXPECT_EQ(post->status, 200) << target;
    EXPECT_EQ(post->body, get->body) << target;
    EXPECT_EQ(get->get_header_value("Cache-Control"), "no-store") << target;
  }
  const httplib::Result levels = Client().Get("/extension/levels?symbol=NQ&basis=signed_flow");
  ASSERT_TRUE(levels);
  EXPECT_EQ(payload::testing::ParseAnswer(levels->body).resolvedSymbol, "QQQ");
}

TEST_F(LiveServerTest, UnderATokenThePrefixIsPartOfEveryPath) {
  const std::string token = "0123456789abcdefXYZ";
  Start(token);
  const struct {
    std::string target;
    int status;
  } cases[] = {{"/health", 404},
               {"/" + token + "/health", 200},
               {"/" + token + "/metrics", 200},
               {"/" + token + "x/health", 404},
               {"/%30123456789abcdefXYZ/health", 200}};
  for (const auto& c : cases) {
    const httplib::Result result = Client().Get(c.target);
    ASSERT_TRUE(result) << c.target;
    EXPECT_EQ(result->status, c.status) << c.target;
  }
}

TEST_F(LiveServerTest, BindsTheConfiguredHost) {
  answers_ = std::make_unique<LiveAnswers>(context_, state_);
  LiveServer server(*answers_);
  std::string error;
  EXPECT_FALSE(server.Start({"192.0.2.1", 0}, &error)) << "an address of no interface here";
  EXPECT_EQ(server.Port(), 0);
  ASSERT_TRUE(server.Start({"localhost", 0}, &error)) << error;
  EXPECT_EQ(server.Origin().substr(0, 17), "http://127.0.0.1:");
  EXPECT_FALSE(server.Start({"127.0.0.1", 0}, &error)) << "already runs";
  server.Stop();
  EXPECT_EQ(server.Origin(), "");
  ASSERT_TRUE(server.Start({"127.0.0.2", 0}, &error)) << error;
  EXPECT_EQ(server.Origin().substr(0, 17), "http://127.0.0.2:");
  server.Stop();
}

// A client that connects and sends half a request holds no thread past the stall limit.
TEST_F(LiveServerTest, StopsWithinTwoSecondsWhateverAClientDoes) {
  Start();
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(socket, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(server_->Port()));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  const char half[] = "GET /health HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  ASSERT_EQ(::send(socket, half, sizeof(half) - 1, 0), static_cast<ssize_t>(sizeof(half) - 1));
  const auto start = std::chrono::steady_clock::now();
  server_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(server_->Port(), 0);
  ::close(socket);
}

}  // namespace
}  // namespace live
