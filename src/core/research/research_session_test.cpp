#include "research/research_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/fake_study_host.h"
#include "research/research_response.h"

namespace research {
namespace {

constexpr const char* kOrigin = "https://levels.example";
constexpr const char* kAccepted = R"({"ok":true,"symbol":"NQ","day":"2025-01-02","source":"QQQ"})";

// Workers wait until the test runs them, as a slow GET would.
class DeferredServices : public host::FakeServices {
 public:
  bool StartDetachedThread(std::function<void()> work) override {
    waiting.push_back(std::move(work));
    return true;
  }
  void RunWorkers() {
    for (auto& work : waiting) work();
    waiting.clear();
  }
  std::vector<std::function<void()>> waiting;
};

// One driver call's research steps for an NQ chart with the SPY options source.
bool Call(ResearchSession* session, platform::Services& services, int requestValue,
          const std::string& day = "2025-01-02") {
  bool changed = UpdateResearchKey(session, ResearchKey("NQ", "SPY", day));
  changed |= PollResearchRequest(session, "NQ", "QQQ", day);
  changed |= KickOffResearchRequest(session, services, requestValue, kOrigin, "NQ", "SPY", day);
  return changed;
}

TEST(ResearchSession, EachNewPositiveRequestValueFetchesOnce) {
  host::FakeServices services;
  services.getResult = {200, kAccepted};
  ResearchSession session;
  const std::pair<int, size_t> calls[] = {{0, 0}, {-1, 0}, {3, 1}, {3, 1}, {4, 2}, {4, 2}, {3, 3}, {0, 3}};
  for (const auto& [value, getsAfter] : calls) {
    Call(&session, services, value);
    EXPECT_EQ(services.getUrls.size(), getsAfter) << "value " << value;
  }
}

TEST(ResearchSession, AChangedValueWaitsForTheRunningRequest) {
  DeferredServices services;
  services.getResult = {200, kAccepted};
  ResearchSession session;
  Call(&session, services, 1);
  EXPECT_EQ(session.view.status, "Research request in progress.");
  Call(&session, services, 2);  // ignored while the first runs
  EXPECT_EQ(services.waiting.size(), 1u);
  services.RunWorkers();
  EXPECT_TRUE(Call(&session, services, 2));  // polls the first, then starts the second
  EXPECT_EQ(services.waiting.size(), 1u);
}

TEST(ResearchSession, FinishedRequestsSetTheStatus) {
  const struct {
    unsigned status;
    const char *body, *viewStatus;
  } cases[] = {
      {200, kAccepted, "Research captured on demand; change request to refresh."},
      {200, "<html>", "Research unavailable (HTTP 200). Change request to retry."},
      {404, "", "Research unavailable (HTTP 404). Change request to retry."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.status) + " " + c.body);
    host::FakeServices services;
    services.getResult = {c.status, c.body};
    ResearchSession session;
    Call(&session, services, 1);
    EXPECT_TRUE(Call(&session, services, 1));
    EXPECT_EQ(session.view.status, c.viewStatus);
  }
}

TEST(ResearchSession, AnInvalidDayRemembersTheValueAndStartsNothing) {
  host::FakeServices services;
  ResearchSession session;
  EXPECT_TRUE(Call(&session, services, 5, "2025-02-30"));
  EXPECT_EQ(session.view.status, "Research day must be YYYY-MM-DD.");
  Call(&session, services, 5, "2025-01-02");  // the day is fixed but the value is spent
  EXPECT_TRUE(services.getUrls.empty());
  EXPECT_EQ(session.view.status, kInitialResearchStatus);
}

TEST(ResearchSession, AResultForAnOlderKeyIsDroppedSilently) {
  DeferredServices services;
  services.getResult = {200, kAccepted};
  ResearchSession session;
  Call(&session, services, 1);
  EXPECT_TRUE(Call(&session, services, 1, "2025-01-03"));  // new key: fresh view at once
  EXPECT_EQ(session.view.status, kInitialResearchStatus);
  EXPECT_NE(session.pending, nullptr);
  services.RunWorkers();
  EXPECT_FALSE(Call(&session, services, 1, "2025-01-03"));
  EXPECT_EQ(session.pending, nullptr);
  EXPECT_EQ(session.view.status, kInitialResearchStatus);
}

}  // namespace
}  // namespace research
