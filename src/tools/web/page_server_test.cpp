#include "web/page_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <regex>
#include <vector>

#include "loopback/loopback_test_support.h"

namespace web {
namespace {

using loopback::testing::RawClient;
using loopback::testing::WaitFor;
using std::chrono::milliseconds;

class PageServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ChangeHandlers handlers;
    handlers.input = [](const FormFields&) { return Reply{200, "taken"}; };
    server_ = std::make_unique<PageServer>(handlers);
    std::string error;
    ASSERT_TRUE(server_->Start(0, &error)) << error;
    server_->Publish(R"({"frame":1})");
    host_ = "127.0.0.1:" + std::to_string(server_->Port());
  }

  // Sends `request` (which asks for Connection: close) and returns all that comes back before
  // the server closes; empty, failing the test, when it does not close within 3 s.
  std::string Ask(const std::string& request) const {
    RawClient client(server_->Port());
    EXPECT_TRUE(client.Send(request)) << request;
    EXPECT_TRUE(client.ReadUntilClosed(milliseconds(3000))) << request;
    return client.Received();
  }
  std::string Get(const std::string& path, const std::string& headers = "") const {
    return Ask("GET " + path + " HTTP/1.1\r\nHost: " + host_ + "\r\n" + headers +
               "Connection: close\r\n\r\n");
  }
  std::string Token() const {
    std::smatch match;
    const std::string page = Get("/");
    EXPECT_TRUE(
        std::regex_search(page, match, std::regex("name=\"ordinel-token\" content=\"([0-9a-f]{32})\"")));
    return match.size() > 1 ? match[1].str() : "";
  }
  // An event stream, open once its first frame has come.
  RawClient OpenStream() const {
    RawClient stream(server_->Port());
    EXPECT_TRUE(stream.Send("GET /events HTTP/1.1\r\nHost: " + host_ + "\r\n\r\n"));
    return stream;
  }

  std::unique_ptr<PageServer> server_;
  std::string host_;
};

bool Answered(const std::string& received, int status) {
  return received.rfind("HTTP/1.1 " + std::to_string(status) + " ", 0) == 0;
}

std::string BodyOf(const std::string& received) {
  const size_t end = received.find("\r\n\r\n");
  return end == std::string::npos ? "" : received.substr(end + 4);
}

// Sixteen of them used to take every worker of the page.
TEST_F(PageServerTest, AHundredSlowConnectionsLeaveThePageItsAnswers) {
  std::vector<RawClient> slow;
  for (int i = 0; i < 100; ++i) {
    slow.push_back(RawClient(server_->Port()));
    ASSERT_TRUE(slow.back().Send("GET / HTTP/1.1\r\nHost: " + host_ + "\r\n")) << i;
  }
  httplib::Client client("127.0.0.1", server_->Port());
  client.set_connection_timeout(1, 0);
  client.set_read_timeout(1, 0);
  const httplib::Result frame = client.Get("/api/frame", {{"Host", host_}});
  ASSERT_TRUE(frame) << httplib::to_string(frame.error());
  EXPECT_EQ(frame->body, R"({"frame":1})");
}

// Another site's page could open the page's event streams (and take their places) or read it.
TEST_F(PageServerTest, ARequestFromAnotherOriginGetsNothing) {
  for (const char* path : {"/events", "/", "/api/frame", "/page.js", "/chart_pointer.js"}) {
    const std::string answer = Get(path, "Origin: http://evil.example\r\n");
    EXPECT_TRUE(Answered(answer, 403)) << path << ": " << answer.substr(0, answer.find("\r\n"));
    EXPECT_EQ(BodyOf(answer), "requests are taken only from the chart page's own origin\n") << path;
  }
  EXPECT_TRUE(Answered(Get("/api/frame", "Origin: http://" + host_ + "\r\n"), 200))
      << "the page's own origin";
}

TEST_F(PageServerTest, AClosedEventStreamGivesItsPlaceBackAtOnce) {
  std::vector<RawClient> streams;
  for (int i = 0; i < kMaxEventStreams; ++i) {
    streams.push_back(OpenStream());
    ASSERT_TRUE(streams.back().ReadUntilSeen("event: frame", milliseconds(3000)))
        << i << streams.back().Received();
  }
  RawClient refused = OpenStream();
  ASSERT_TRUE(refused.ReadUntilClosed(milliseconds(3000)));
  EXPECT_TRUE(Answered(refused.Received(), 503)) << refused.Received();

  streams.front().Close();
  // Before, the place came back only when a keep-alive comment found the page gone (10 s on).
  EXPECT_TRUE(WaitFor(
      [&] {
        RawClient stream = OpenStream();
        return stream.ReadUntilSeen("event: frame", milliseconds(500)) && Answered(stream.Received(), 200);
      },
      milliseconds(2000)));
}

TEST_F(PageServerTest, ARequestWithTwoHostHeadersIsRefused) {
  for (const std::string& hosts :
       {"Host: " + host_ + "\r\nHost: evil.example\r\n", "Host: evil.example\r\nHost: " + host_ + "\r\n"}) {
    const std::string answer = Ask("GET /api/frame HTTP/1.1\r\n" + hosts + "\r\n");
    EXPECT_TRUE(Answered(answer, 400)) << hosts << answer;
    EXPECT_NE(answer.find("Connection: close\r\n"), std::string::npos) << hosts;
    EXPECT_EQ(BodyOf(answer), "a request names exactly one Host\n") << hosts;
  }
}

// cpp-httplib refused form bodies over 8 KiB with an empty 413 while the page said 16 KiB.
TEST_F(PageServerTest, TheBodyLimitIsTheOneTheServerEnforcesAndItsRefusalSaysWhy) {
  const std::string token = Token();
  const auto post = [&](size_t bytes) {
    const std::string body = "label=" + std::string(bytes - 6, 'x');
    return Ask("POST /api/input HTTP/1.1\r\nHost: " + host_ + "\r\nOrigin: http://" + host_ +
               "\r\nX-Ordinel-Token: " + token + "\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
               "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
  };
  const std::string fits = post(kMaxChangeBodyBytes);
  EXPECT_TRUE(Answered(fits, 200)) << fits.substr(0, 200);
  const std::string over = post(kMaxChangeBodyBytes + 1);
  EXPECT_TRUE(Answered(over, 413)) << over;
  EXPECT_EQ(BodyOf(over), "the request body is over " + std::to_string(kMaxChangeBodyBytes) + " bytes\n");
}

TEST_F(PageServerTest, StopEndsStreamsAndSlowClientsWithinTwoSeconds) {
  RawClient stream = OpenStream();
  ASSERT_TRUE(stream.ReadUntilSeen("event: frame", milliseconds(3000)));
  RawClient slow(server_->Port());
  ASSERT_TRUE(slow.Send("POST /api/input HTTP/1.1\r\nHost: " + host_ + "\r\n"));
  RawClient silent(server_->Port());
  // Connections are taken in order: once a later request is answered, these are being served.
  ASSERT_TRUE(Answered(Get("/api/frame"), 200));
  const auto start = std::chrono::steady_clock::now();
  server_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(2000));
  for (RawClient* client : {&stream, &slow, &silent})
    EXPECT_TRUE(client->ReadUntilClosed(milliseconds(1000)));
}

}  // namespace
}  // namespace web
