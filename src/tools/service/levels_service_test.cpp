#include "service/levels_service.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <future>
#include <vector>

#include "loopback/loopback_test_support.h"
#include "service/service_test_support.h"

namespace service {
namespace {

class LevelsServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.Start(0, &error)) << error;
    ASSERT_TRUE(ReadDataFile(catalogue_, "legacy.json", &legacy_));
  }

  // A client that sends the target exactly as written, as the study's host does.
  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", service_.Port());
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    return client;
  }
  httplib::Result Get(const std::string& target) { return Client().Get(target.c_str()); }
  httplib::Result Post(const std::string& target) {
    return Client().Post(target.c_str(), "{}", "application/json");
  }

  const FixtureCatalogue catalogue_{testing::RepositoryDataDir(), {}};
  LevelsService service_{catalogue_};
  std::string legacy_;
};

constexpr const char* kLegacyTarget = "/extension/levels?symbol=NQ&basis=signed_flow";

// Which file answers which request is the catalogue's; the service must pass the study's requests
// through by either method and decode the escaped chart path. The request as recorded is checked
// with the live transport's (tests/live_e2e_test).
TEST_F(LevelsServiceTest, AnswersTheStudysRequestsByGetAndPost) {
  const struct {
    std::string target;
    const char* file;
  } cases[] = {
      {"/v8/finance/chart/%5EVIX?interval=1d&range=5d", "vix_chart.json"},
      {kLegacyTarget, "legacy.json"},
      {"/extension/levels?symbol=NQ&mode=locked&basis=signed_flow", "locked.json"},
      {"/extension/levels?symbol=NQ&extended=1&basis=settlement_oi", "extended.json"},
      {"/extension/levels?symbol=NQ&mode=locked&extended=1&basis=estimated_oi", "extended.json"},
  };
  for (const auto& c : cases) {
    for (const bool post : {false, true}) {
      const httplib::Result result = post ? Post(c.target) : Get(c.target);
      ASSERT_TRUE(result) << c.target << ": " << httplib::to_string(result.error());
      EXPECT_EQ(result->status, 200) << c.target;
      EXPECT_EQ(result->body, testing::DataFile(catalogue_, c.file)) << (post ? "POST " : "GET ") << c.target;
    }
  }
}

TEST_F(LevelsServiceTest, InjectsEachFaultKind) {
  // Status, HTML and truncation are the answer's own (fault_injection_test); these act on the wire.
  // A delayed answer arriving whole and a dropped connection are the live transport's tests
  // (tests/live_e2e_test).
  constexpr size_t kOversize = 3 << 20;
  testing::SetFault(service_, "levels", "oversize=3145728");
  httplib::Result result = Post(kLegacyTarget);
  ASSERT_TRUE(result);
  ASSERT_EQ(result->body.size(), kOversize);
  EXPECT_EQ(result->body.substr(0, legacy_.size()), legacy_);
  EXPECT_EQ(result->body.find_first_not_of(' ', legacy_.size()), std::string::npos);

  testing::SetFault(service_, "levels", "redirect=/v8/finance/chart/QQQ?interval=1d&range=1mo");
  result = Get(kLegacyTarget);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 302);
  EXPECT_EQ(result->get_header_value("Location"), "/v8/finance/chart/QQQ?interval=1d&range=1mo");
}

// A service stopped while an answer is being held back must not wait out the delay; started
// again, it holds answers back as asked.
TEST_F(LevelsServiceTest, StopCutsAPendingDelayShortAndARestartDelaysAgain) {
  testing::SetFault(service_, "levels", "delay=20000");
  auto pending = std::async(std::launch::async, [this] { return Post(kLegacyTarget); });
  ASSERT_TRUE(loopback::testing::WaitFor([this] { return !service_.Requests().empty(); }))
      << "the request reaches the service";
  const auto start = std::chrono::steady_clock::now();
  service_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_FALSE(service_.Running());
  const httplib::Result result = pending.get();
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->status, 503) << result->body;
  std::string error;
  ASSERT_TRUE(service_.Start(0, &error)) << "restart: " << error;
  testing::SetFault(service_, "levels", "delay=20");
  const httplib::Result restarted = Post(kLegacyTarget);
  ASSERT_TRUE(restarted);
  EXPECT_EQ(restarted->body, legacy_)
      << "a restarted service waits out the delay, status " << restarted->status;
}

// Eight of them used to take every worker of the service.
TEST_F(LevelsServiceTest, AHundredSlowConnectionsLeaveTheStudyItsAnswer) {
  std::vector<loopback::testing::RawClient> slow;
  for (int i = 0; i < 100; ++i) {
    slow.emplace_back(service_.Port());
    ASSERT_TRUE(slow.back().Send("GET /extension/levels HTTP/1.1\r\nHost: 127.0.0.1\r\n")) << i;
  }
  httplib::Client client = Client();
  client.set_connection_timeout(1, 0);
  client.set_read_timeout(1, 0);
  const httplib::Result answer = client.Get(kLegacyTarget);
  ASSERT_TRUE(answer) << httplib::to_string(answer.error());
  EXPECT_EQ(answer->body, legacy_);
}

// SIGTERM left `ordinel service` running while a client sent a header line a second.
TEST_F(LevelsServiceTest, StopEndsSlowAndSilentClientsWithinTwoSeconds) {
  loopback::testing::RawClient slow(service_.Port());
  ASSERT_TRUE(slow.Send("POST /extension/levels HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
  loopback::testing::RawClient silent(service_.Port());
  // Connections are taken in order: once a later request is answered, these are being served.
  ASSERT_TRUE(Get(kLegacyTarget));
  const auto start = std::chrono::steady_clock::now();
  service_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(slow.ReadUntilClosed(std::chrono::milliseconds(1000)));
  EXPECT_TRUE(silent.ReadUntilClosed(std::chrono::milliseconds(1000)));
}

}  // namespace
}  // namespace service
