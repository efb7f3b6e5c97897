#include "live/http_fetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "live/fetch_test_server.h"
#include "loopback/loopback_test_support.h"

namespace live {
namespace {

struct Got {
  FetchStatus status;
  std::string body, error;
};

Got Fetch(const HttpFetchRequest& request, const StopSignal& stop) {
  Got got;
  got.status = HttpFetch(request, stop, &got.body, &got.error);
  return got;
}

TEST(HttpFetch, AnswersRedirectsAndLimits) {
  testing::FetchTestServer server;
  StopSignal stop;
  const struct {
    const char* path;
    FetchStatus status;
    std::string body, error;  // error: its start
  } cases[] = {
      {"/chain", FetchStatus::kFetched, "{\"chain\":1}", ""},
      {"/to-chain", FetchStatus::kFetched, "{\"chain\":1}", ""},
      {"/exact", FetchStatus::kFetched, std::string(1000, 'x'), ""},
      {"/missing", FetchStatus::kFailed, "", "HTTP 404"},
      {"/to-ftp", FetchStatus::kFailed, "", "Protocol \"ftp\" not supported"},
      {"/to-file", FetchStatus::kFailed, "", "Protocol \"file\" not supported"},
      {"/loop", FetchStatus::kFailed, "", "more than 5 redirects"},
      {"/big", FetchStatus::kFailed, "", "the answer is larger than 1000 bytes"},
      {"/big-chunked", FetchStatus::kFailed, "", "the answer is larger than 1000 bytes"},
  };
  for (const auto& c : cases) {
    const Got got = Fetch({server.Url(c.path), {}, 5, 1000}, stop);
    EXPECT_EQ(got.status, c.status) << c.path << ": " << got.error;
    EXPECT_EQ(got.body, c.body) << c.path;
    EXPECT_EQ(got.error.substr(0, c.error.size()), c.error) << c.path;
  }
  const Got refused = Fetch({"file:///etc/passwd", {}, 5, 1000}, stop);
  EXPECT_EQ(refused.error, "not an http:// or https:// URL");
}

TEST(HttpFetch, SendsTheConfiguredHeaders) {
  testing::FetchTestServer server;
  StopSignal stop;
  const Got got = Fetch({server.Url("/echo"), {{"X-Key", "secret"}, {"X-Empty", ""}}, 5, 1000}, stop);
  EXPECT_EQ(got.body, std::string("secret||") + kLiveUserAgent);
}

TEST(HttpFetch, AServerThatHangsIsCutByTheTimeout) {
  testing::FetchTestServer server;
  StopSignal stop;
  const auto start = std::chrono::steady_clock::now();
  const Got got = Fetch({server.Url("/hang"), {}, 1, 1000}, stop);
  EXPECT_EQ(got.status, FetchStatus::kFailed);
  EXPECT_EQ(got.error, "no complete answer within 1 s");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(HttpFetch, AServerThatHangsIsCutByStop) {
  testing::FetchTestServer server;
  StopSignal stop;
  auto pending = std::async(std::launch::async, [&] {
    return Fetch({server.Url("/hang"), {}, 60, 1000}, stop);
  });
  ASSERT_TRUE(loopback::testing::WaitFor([&] { return server.Hanging() == 1; })) << "the request arrived";
  stop.Request();
  ASSERT_EQ(pending.wait_for(std::chrono::seconds(2)), std::future_status::ready) << "cut within 2 s";
  EXPECT_EQ(pending.get().status, FetchStatus::kStopped);
}

}  // namespace
}  // namespace live
