#include "research/research_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "host/fake_study_host.h"

namespace research {
namespace {

constexpr const char* kOrigin = "https://levels.example";
constexpr const char* kKey = "NQ|SPY|2025-01-02";

std::shared_ptr<GexResearch::Request> StartNq(platform::Services& services) {
  return StartResearchRequest(services, kOrigin, "NQ", "SPY", "2025-01-02", kKey);
}

class LimitRecordingServices : public host::FakeServices {
 public:
  platform::HttpGetResult HttpsGet(const std::string& url, const platform::HttpGetLimits& limits) override {
    seen = limits;
    if (throwOnGet) throw std::runtime_error("no memory");
    return FakeServices::HttpsGet(url, limits);
  }
  bool StartDetachedThread(std::function<void()> work) override {
    if (throwOnStart) {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    return FakeServices::StartDetachedThread(std::move(work));
  }
  platform::HttpGetLimits seen;
  bool throwOnGet = false;
  bool throwOnStart = false;
};

// The body is kept only for a 200 within the limit; a worker that cannot run completes with
// status 0 all the same.
TEST(ResearchWorker, KeepsTheBodyOnlyFor200WithinTheLimit) {
  const struct {
    const char* name;
    unsigned getStatus;
    std::string getBody;
    unsigned status;
    bool bodyKept, threadsWork, throwOnStart, throwOnGet;
  } cases[] = {
      {"200", 200, R"({"ok":true})", 200, true, true, false, false},
      {"404 with a page", 404, "<html>not found</html>", 404, false, true, false, false},
      {"at the limit", 200, std::string(kResearchBodyLimit, 'x'), 200, true, true, false, false},
      {"a byte over", 200, std::string(kResearchBodyLimit + 1, 'x'), 0, false, true, false, false},
      {"thread refused", 200, "{}", 0, false, false, false, false},
      {"thread start throws", 200, "{}", 0, false, true, true, false},
      {"GET throws", 200, "{}", 0, false, true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LimitRecordingServices services;
    services.getResult = {c.getStatus, c.getBody};
    services.threadsWork = c.threadsWork;
    services.throwOnStart = c.throwOnStart;
    services.throwOnGet = c.throwOnGet;
    const auto request = StartNq(services);
    ASSERT_TRUE(request->done.load(std::memory_order_acquire));
    EXPECT_EQ(request->status, c.status);
    EXPECT_EQ(request->body, c.bodyKept ? c.getBody : "");
    const bool fetched = c.threadsWork && !c.throwOnStart && !c.throwOnGet;
    EXPECT_EQ(services.getUrls.size(), fetched ? 1u : 0u);
    if (!fetched) continue;
    EXPECT_EQ(services.getUrls[0],
              "https://levels.example/market-context/"
              "indicator-research?symbol=NQ&source=SPY&day=2025-01-02");
    EXPECT_EQ(services.seen.userAgent, kResearchUserAgent);
    EXPECT_EQ(services.seen.maxBodyBytes, kResearchBodyLimit);
  }
}

// Real threads; each GET waits until the test hands it its answer.
class ThreadedServices : public host::FakeServices {
 public:
  ~ThreadedServices() override {
    if (!answered_) Answer({0, ""});  // never leave a worker waiting
    for (std::thread& t : threads_) t.join();
  }
  platform::HttpGetResult HttpsGet(const std::string& url, const platform::HttpGetLimits&) override {
    return gate_.get();
  }
  bool StartDetachedThread(std::function<void()> work) override {
    threads_.emplace_back(std::move(work));
    return true;
  }
  void Answer(platform::HttpGetResult result) {
    answered_ = true;
    answer_.set_value(std::move(result));
  }

 private:
  std::promise<platform::HttpGetResult> answer_;
  std::shared_future<platform::HttpGetResult> gate_ = answer_.get_future().share();
  std::vector<std::thread> threads_;
  bool answered_ = false;
};

// Polls `condition` without sleeping until it holds or ten seconds have passed.
template <typename Condition>
bool EventuallyTrue(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(ResearchWorker, PublishesTheResultFromItsOwnThreadWithDoneLast) {
  ThreadedServices services;
  const auto request = StartNq(services);
  EXPECT_FALSE(request->done.load(std::memory_order_acquire));  // the GET is still waiting
  const std::string body = R"({"ok":true,"symbol":"NQ"})";
  services.Answer({200, body});
  ASSERT_TRUE(EventuallyTrue([&] { return request->done.load(std::memory_order_acquire); }));
  EXPECT_EQ(request->status, 200u);
  EXPECT_EQ(request->body, body);
}

TEST(ResearchWorker, OutlivesTheInstanceThatDroppedTheRequest) {
  ThreadedServices services;
  auto request = StartNq(services);
  const std::weak_ptr<GexResearch::Request> watch = request;
  request.reset();  // the study instance went away while the GET runs
  EXPECT_FALSE(watch.expired());
  services.Answer({200, "{}"});
  EXPECT_TRUE(EventuallyTrue([&] { return watch.expired(); }));
}

}  // namespace
}  // namespace research
