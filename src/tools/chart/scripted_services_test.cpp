#include "chart/scripted_services.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace chart {
namespace {

using namespace std::chrono_literals;

// A research-like worker: one GET, then publishes status and body.
struct Published {
  std::atomic<bool> done{false};
  platform::HttpGetResult result;
};

std::shared_ptr<Published> StartWorker(ScriptedServices& services, const std::string& url,
                                       size_t limit = 0x800000) {
  auto published = std::make_shared<Published>();
  platform::HttpGetLimits limits;
  limits.maxBodyBytes = limit;
  EXPECT_TRUE(services.StartDetachedThread([&services, published, url, limits] {
    published->result = services.HttpsGet(url, limits);
    published->done.store(true, std::memory_order_release);
  }));
  return published;
}

TEST(ScriptedServices, GetWaitsForTheScriptAndTheStepWaitsForTheWorker) {
  VirtualClock clock(1000);
  ScriptedServices services(clock);
  EXPECT_EQ(services.Answer(200, "{}", 1s), ResearchAnswerOutcome::kNonePending);
  auto published = StartWorker(services, "https://r/1");
  clock.Set(2000);  // the request keeps the time its worker started
  ASSERT_TRUE(services.WaitUntilSettled(5s));
  EXPECT_FALSE(published->done.load());
  ASSERT_EQ(services.Answer(200, "{\"ok\":1}", 5s), ResearchAnswerOutcome::kAnswered);
  EXPECT_TRUE(published->done.load(std::memory_order_acquire)) << "published before the step ends";
  EXPECT_EQ(published->result.status, 200u);
  EXPECT_EQ(published->result.body, "{\"ok\":1}");
  ASSERT_EQ(services.Requests().size(), 1u);
  EXPECT_EQ(services.Requests()[0].time, 1000);
  EXPECT_EQ(services.Requests()[0].url, "https://r/1");
}

TEST(ScriptedServices, AnswersFollowTheGetLimits) {
  struct Case {
    unsigned status;
    std::string body;
    size_t limit;
    unsigned wantStatus;
    std::string wantBody;
  };
  const Case cases[] = {
      {404, "not found", 100, 404, ""},
      {200, "12345", 5, 200, "12345"},
      {200, "123456", 5, 0, ""},
      {0, "", 5, 0, ""},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    ScriptedServices services(clock);
    auto published = StartWorker(services, "https://r", c.limit);
    ASSERT_TRUE(services.WaitUntilSettled(5s));
    ASSERT_EQ(services.Answer(c.status, c.body, 5s), ResearchAnswerOutcome::kAnswered);
    EXPECT_EQ(published->result.status, c.wantStatus) << c.status << " " << c.body;
    EXPECT_EQ(published->result.body, c.wantBody) << c.status << " " << c.body;
  }
}

TEST(ScriptedServices, ShutdownReleasesWaitingGetsWithStatusZero) {
  VirtualClock clock;
  ScriptedServices services(clock);
  auto published = StartWorker(services, "https://r");
  ASSERT_TRUE(services.WaitUntilSettled(5s));
  ASSERT_TRUE(services.Shutdown(5s));
  EXPECT_TRUE(published->done.load());
  EXPECT_EQ(published->result.status, 0u);
  EXPECT_FALSE(services.StartDetachedThread([] {})) << "no workers after shutdown";
}

// Workers that start together are listed in start order, whichever GET arrives first.
TEST(ScriptedServices, WorkersAreListedInStartOrder) {
  VirtualClock clock(10);
  ScriptedServices services(clock);
  auto first = StartWorker(services, "https://r/first");
  clock.Set(20);
  auto second = StartWorker(services, "https://r/second");
  ASSERT_TRUE(services.WaitUntilSettled(5s));
  const std::vector<ResearchRequestRecord> requests = services.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].url, "https://r/first");
  EXPECT_EQ(requests[1].time, 20);
}

}  // namespace
}  // namespace chart
