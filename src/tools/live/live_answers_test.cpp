#include "live/live_answers.h"

#include <gtest/gtest.h>

#include "live/live_test_support.h"

namespace live {
namespace {

using testing::CaptureAt;
using testing::kQqqRatio;
using testing::RequestFor;
using testing::SampleQqqChain;

constexpr const char* kToken = "s3cret-Token_0123456789";

TEST(PathUnderToken, OnlyPathsBelowTheTokenAreServed) {
  const struct {
    const char* path;
    const char* token;
    const char* rest;  // null: refused
  } cases[] = {
      {"/health", "", "/health"},
      {"/", "", "/"},
      {"/s3cret-Token_0123456789/health", kToken, "/health"},
      {"/s3cret-Token_0123456789/extension/levels", kToken, "/extension/levels"},
      {"/s3cret-Token_0123456789/", kToken, "/"},
      {"/s3cret-Token_0123456789", kToken, nullptr},
      {"/health", kToken, nullptr},
      {"/s3cret-Token_0123456788/health", kToken, nullptr},
      {"/S3CRET-TOKEN_0123456789/health", kToken, nullptr},
      {"/s3cret-Token_01234567890/health", kToken, nullptr},
      {"/s3cret-Token_012345678/health", kToken, nullptr},
      {"//s3cret-Token_0123456789/health", kToken, nullptr},
      {"", kToken, nullptr},
  };
  for (const auto& c : cases) {
    std::string rest = "unchanged";
    const bool under = PathUnderToken(c.path, c.token, &rest);
    EXPECT_EQ(under, c.rest != nullptr) << c.path << " with '" << c.token << "'";
    if (under && c.rest != nullptr) {
      EXPECT_EQ(rest, c.rest) << c.path;
    }
  }
}

class LiveAnswersTest : public testing::LiveFixture {
 protected:
  LiveAnswers& Answers() {
    if (!answers_) answers_ = std::make_unique<LiveAnswers>(context_, state_);
    return *answers_;
  }
  service::FixtureAnswer Get(const std::string& target, const std::string& method = "GET") {
    return Answers().Answer(RequestFor(target, method));
  }
  std::unique_ptr<LiveAnswers> answers_;
};

TEST_F(LiveAnswersTest, RoutesEveryPathByGetAndPostAlike) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio));
  const struct {
    const char* target;
    int status;
    const char* contentType;
  } cases[] = {
      {"/extension/levels?symbol=NQ&basis=signed_flow", 200, "application/json"},
      {"/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", 200, "application/json"},
      {"/history?symbol=NQ&day=2025-01-02", 200, "application/json"},
      {"/history/strikes?symbol=NQ&day=2025-01-02", 200, "application/json"},
      {"/health", 200, "application/json"},
      {"/metrics", 200, "text/plain; version=0.0.4; charset=utf-8"},
      {"/", 404, "text/plain; charset=utf-8"},
      {"/extension/levels/", 404, "text/plain; charset=utf-8"},
      {"/v8/finance/chart/QQQ", 404, "text/plain; charset=utf-8"},
  };
  for (const auto& c : cases) {
    const service::FixtureAnswer get = Get(c.target);
    const service::FixtureAnswer post = Get(c.target, "POST");
    EXPECT_EQ(get.status, c.status) << c.target;
    EXPECT_EQ(get.contentType, c.contentType) << c.target;
    if (std::string_view(c.target) != "/metrics") {
      EXPECT_EQ(post.body, get.body) << c.target;
    }
  }
  const std::string metrics = Get("/metrics").body;
  for (const char* line : {"ordinel_live_requests_total{path=\"/extension/levels\",status=\"200\"} 2\n",
                           "ordinel_live_requests_total{path=\"/metrics\",status=\"200\"} 2\n",
                           "ordinel_live_requests_total{path=\"other\",status=\"404\"} 6\n"}) {
    EXPECT_NE(metrics.find(line), std::string::npos) << line << "\nin\n" << metrics;
  }
}

// Which paths lie under the token is PathUnderToken's table; here every route passes the gate.
TEST_F(LiveAnswersTest, WithATokenEveryPathIsServedUnderItOnly) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio));
  config_.token = kToken;
  const std::string base = std::string("/") + kToken;
  const struct {
    std::string target;
    int status;
  } cases[] = {
      {"/health", 404},
      {"/metrics", 404},
      {"/extension/levels?symbol=NQ&basis=signed_flow", 404},
      {"/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", 404},
      {base + "/health", 200},
      {base + "/history?symbol=NQ&day=2025-01-02", 200},
      {base + "/extension/levels?symbol=NQ&basis=signed_flow", 200},
      {base + "/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", 200},
      {base + "/metrics", 200},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Get(c.target).status, c.status) << c.target;
    EXPECT_EQ(Get(c.target, "POST").status, c.status) << c.target;
  }
  const std::string metrics = Get(base + "/metrics").body;
  EXPECT_EQ(metrics.find(kToken), std::string::npos) << "the token never reaches the metrics";
  EXPECT_NE(metrics.find("ordinel_live_requests_total{path=\"other\",status=\"404\"} 8\n"), std::string::npos)
      << metrics;
}

// A capture the state has not announced yet does not reach the levels path; once it has,
// the next request sees it.
TEST_F(LiveAnswersTest, LevelsAnswersAreKeptUntilTheNextCapture) {
  Add(CaptureAt(SampleQqqChain(), "2025-01-02 10:42:10", kQqqRatio));
  const std::string target = "/extension/levels?symbol=NQ&basis=signed_flow";
  const std::string first = Get(target).body;
  const store::CaptureRecord later =
      CaptureAt(testing::WithCallOi(SampleQqqChain(), 540, 400000), "2025-01-02 11:00", kQqqRatio);
  const int64_t id = store::AppendOrFail(*store_, later);
  EXPECT_EQ(Get(target).body, first) << "kept";
  EXPECT_NE(Get(target + "&extended=1").body, first) << "another request is computed afresh";
  state_.Update("QQQ", [&](SymbolStatus& s) { s.latestCaptureId = id; });
  const std::string second = Get(target).body;
  EXPECT_NE(second, first);
  EXPECT_NE(second.find("\"source_snapshot_time\":\"2025-01-02T16:00:00Z\""), std::string::npos);
}

}  // namespace
}  // namespace live
