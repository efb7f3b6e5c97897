// `ordinel service --config` run as a user runs it, against a loopback exchange whose session the
// test scripts, on a test clock sixty times as fast as real time that starts on a Thursday
// before the open: captures accrue on their schedule, the levels path follows the market,
// failing sources keep the last good levels and show in /health, a kill -9 in the middle of a
// capture loses nothing committed, and an open listen address without a token is refused.
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "formats/typed_time.h"
#include "json/json_document.h"
#include "live_exchange.h"
#include "loopback/loopback_test_support.h"
#include "payload/levels_response.h"
#include "running_program.h"

namespace {

using live_exchange::Exchange;
using live_exchange::Mode;
using loopback::testing::WaitFor;
using running_program::Running;
using std::chrono::milliseconds;

constexpr double kStart = 1735828140;  // 2025-01-02 09:29:00 New York, a Thursday
constexpr double kOpen = 1735828200;   // 09:30:00
// The clock rate of the schedule's test; the others, which time nothing, run four times faster.
constexpr double kRate = 60;
constexpr double kFastRate = 240;
constexpr int kInterval = 30;
constexpr double kRatio = 41.25;
constexpr double kJitterShare = 0.05;
// What the test clock may run past a time while the machine is busy: 0.4 real seconds, which
// still leaves a skipped capture (a gap of two intervals) outside the bounds.
constexpr double kSlackSeconds = 0.4 * kRate;
constexpr milliseconds kStartTimeout{30000};
constexpr milliseconds kWaitLimit{20000};

class LiveService : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "/ordinel_live_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    service_.reset();
    std::filesystem::remove_all(dir_);
  }

  // QQQ (mapped onto NQ) and SPY from the exchange; QQQ's fetches may take a second, SPY's ten,
  // so that a busy machine does not make SPY fail while QQQ is made to.
  std::string ExchangeSymbols() const {
    return "[[symbol]]\nname = \"QQQ\"\nurl = \"" + exchange_.ChainUrl() +
           "\"\ninterval = " + std::to_string(kInterval) +
           "\noff_hours_interval = 600\ntimeout = 1\nfuture = \"NQ\"\nratio = 41.25\n" +
           "[[symbol]]\nname = \"SPY\"\nurl = \"" + exchange_.ChainUrl() +
           "\"\ninterval = " + std::to_string(kInterval) + "\noff_hours_interval = 600\ntimeout = 10\n";
  }
  // Writes the configuration: `top`, the store in the test's folder and `symbols`.
  std::string WriteConfig(const std::string& top = "listen = \"127.0.0.1:0\"\n", std::string symbols = "") {
    const std::string path = dir_ + "/live.toml";
    std::ofstream(path) << top << "store = \"levels.sqlite\"\n"
                        << (symbols.empty() ? ExchangeSymbols() : symbols);
    return path;
  }
  // Starts the service on the test clock from `start` at `rate`, `top` heading its configuration;
  // false (the test failed) when it does not say where it listens.
  bool StartService(double start, double rate, const std::vector<std::string>& env = {},
                    const std::string& symbols = "", const std::string& top = "listen = \"127.0.0.1:0\"\n") {
    service_ = std::make_unique<Running>(
        std::vector<std::string>{"service", "--config", WriteConfig(top, symbols), "--clock-start",
                                 text::Format("%.0f", start), "--clock-rate", text::Format("%.0f", rate)},
        env);
    const std::string port =
        service_->AwaitOutput("listening on http://127\\.0\\.0\\.1:([0-9]+)", kStartTimeout);
    EXPECT_FALSE(port.empty()) << service_->Err();
    if (port.empty()) return false;
    client_ = std::make_unique<httplib::Client>("127.0.0.1", std::stoi(port));
    client_->set_read_timeout(10, 0);
    return true;
  }
  // The body of GET `target` (status in `*status`); empty when the service does not answer.
  std::string Get(const std::string& target, int* status = nullptr) {
    const auto result = client_->Get(target.c_str());
    if (status != nullptr) *status = result ? result->status : 0;
    return result ? result->body : "";
  }
  // The capture times of QQQ on the session day, from /history.
  std::vector<double> CaptureTimes() {
    json::Document doc;
    std::vector<double> times;
    if (doc.ParseOwned(Get("/history?symbol=QQQ&day=2025-01-02")) != json::ParseResult::kParsed) return times;
    for (const json::Node t : json::Member(doc.Root(), "times").Elements()) times.push_back(t.number());
    return times;
  }
  // The times of the research rows the study reads for NQ on the session day.
  std::vector<std::string> ResearchRowTimes() {
    json::Document doc;
    std::vector<std::string> times;
    const std::string target = "/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02";
    if (doc.ParseOwned(Get(target)) != json::ParseResult::kParsed) return times;
    for (const json::Node row : json::Member(json::Member(doc.Root(), "history"), "rows").Elements()) {
      times.push_back(json::MemberAsText(row, "ts"));
    }
    return times;
  }
  // The call wall the study reads from the levels path for NQ; 0 when it reads none.
  double NqCallWall() {
    json::Document doc;
    if (doc.ParseOwned(Get("/extension/levels?symbol=NQ&basis=signed_flow")) != json::ParseResult::kParsed)
      return 0;
    payload::LevelsSnapshot snapshot;
    std::string status;
    if (!payload::ParseLevelsResponse(doc.Root(), 10, &snapshot, &status) || !snapshot.callWall.has) return 0;
    return snapshot.callWall.value;
  }
  // A member of `symbol`'s entry in /health, as text.
  std::string Health(const std::string& symbol, const char* key) {
    json::Document doc;
    if (doc.ParseOwned(Get("/health")) != json::ParseResult::kParsed) return "";
    for (const json::Node s : json::Member(doc.Root(), "symbols").Elements()) {
      if (json::MemberAsText(s, "symbol") == symbol) return json::MemberAsText(s, key);
    }
    return "";
  }

  Exchange exchange_;
  std::string dir_;
  std::unique_ptr<Running> service_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(LiveService, CapturesAccrueOnScheduleAndTheLevelsPathFollowsTheMarket) {
  exchange_.SetMovingOi("QQQ", true);
  ASSERT_TRUE(StartService(kStart, kRate));
  std::vector<double> times;
  ASSERT_TRUE(WaitFor([&] { return (times = CaptureTimes()).size() >= 5; }, kWaitLimit)) << times.size();
  ASSERT_GE(times.size(), 5u);
  EXPECT_GE(times[0], kStart) << "the first capture comes at the start";
  EXPECT_LE(times[0], kStart + kInterval * kJitterShare + kSlackSeconds);
  EXPECT_GE(times[1], kOpen) << "the off-hours interval gives way to the open";
  EXPECT_LE(times[1], kOpen + kSlackSeconds);
  for (size_t i = 2; i < times.size(); ++i) {
    EXPECT_GE(times[i] - times[i - 1], kInterval) << "capture " << i;
    EXPECT_LE(times[i] - times[i - 1], kInterval * (1 + kJitterShare) + 1 + kSlackSeconds) << "capture " << i;
  }
  EXPECT_EQ(NqCallWall(), 525 * kRatio);

  exchange_.SetCallWall("QQQ", 530);
  EXPECT_TRUE(WaitFor([&] { return NqCallWall() == 530 * kRatio; }, kWaitLimit)) << NqCallWall();

  // An unchanged chain (a closed market) adds no capture, and says so in /health.
  exchange_.SetMovingOi("QQQ", false);
  const auto unchanged = [&] { return std::atoi(Health("QQQ", "unchanged").c_str()); };
  ASSERT_TRUE(WaitFor([&] { return unchanged() >= 1; }, kWaitLimit)) << unchanged();
  const size_t count = CaptureTimes().size();
  const int seen = unchanged();
  ASSERT_TRUE(WaitFor([&] { return unchanged() >= seen + 2; }, kWaitLimit)) << unchanged();
  EXPECT_EQ(CaptureTimes().size(), count) << "two more fetches of the same chain";
}

TEST_F(LiveService, FailingSourcesKeepTheLastGoodLevelsAndShowInHealth) {
  exchange_.SetMovingOi("SPY", true);
  ASSERT_TRUE(StartService(kOpen, kFastRate));
  ASSERT_TRUE(WaitFor([&] { return NqCallWall() == 525 * kRatio; }, kWaitLimit)) << service_->Err();
  const struct {
    Mode mode;
    const char* error;  // a part of /health's last_error
  } cases[] = {
      {Mode::kFail, "fetch failed: HTTP 503"},
      {Mode::kGarbage, "chain unreadable: "},
      {Mode::kTooMuch, "fetch failed: the answer is larger than 64 MiB"},
      {Mode::kHang, "fetch failed: no complete answer within 1 s"},
  };
  for (const auto& c : cases) {
    exchange_.SetMode("QQQ", c.mode);
    const int spyRequests = exchange_.Requests("SPY");
    ASSERT_TRUE(
        WaitFor([&] { return Health("QQQ", "last_error").find(c.error) != std::string::npos; }, kWaitLimit))
        << c.error << ": " << Health("QQQ", "last_error");
    EXPECT_EQ(Health("QQQ", "status"), "failing") << c.error;
    int status = 0;
    Get("/health", &status);
    EXPECT_EQ(status, 503) << c.error << ": a failing symbol makes the service unhealthy";
    EXPECT_EQ(NqCallWall(), 525 * kRatio) << c.error << ": the last good levels";
    EXPECT_TRUE(WaitFor([&] { return exchange_.Requests("SPY") > spyRequests; }, kWaitLimit))
        << c.error << ": SPY goes on meanwhile";
    EXPECT_EQ(Health("SPY", "status"), "ok") << c.error;
    // The same chain again: a success that adds no capture, and the backoff starts afresh.
    exchange_.SetMode("QQQ", Mode::kChain);
    ASSERT_TRUE(WaitFor([&] { return Health("QQQ", "status") == "ok"; }, kWaitLimit)) << c.error;
  }
  exchange_.SetCallWall("QQQ", 530);
  exchange_.SetMode("QQQ", Mode::kChain);
  EXPECT_TRUE(WaitFor([&] { return NqCallWall() == 530 * kRatio; }, kWaitLimit)) << "recovered";
  EXPECT_EQ(Health("QQQ", "status"), "ok");
  EXPECT_EQ(Health("QQQ", "last_error"), "");
}

// The store answers one caller at a time, so while a capture is held nothing reads it: what was
// committed is what the service logged as captured.
TEST_F(LiveService, AKillInTheMiddleOfACaptureAndARestartLoseNothingCommitted) {
  exchange_.SetMovingOi("QQQ", true);
  const std::string hold = dir_ + "/hold";
  ASSERT_TRUE(StartService(kOpen, kFastRate, {"ORDINEL_TEST_HOLD_CAPTURE=" + hold}));
  ASSERT_TRUE(WaitFor([&] { return CaptureTimes().size() >= 3; }, kWaitLimit));
  std::ofstream(hold) << "hold\n";
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(hold + ".held"); }, kWaitLimit));
  std::vector<std::string> committed;  // the chain times of the captures logged, in order
  const std::regex captured("QQQ: captured [0-9]+ contracts as of ([0-9T:Z-]+),");
  const std::string log = service_->Err();
  for (auto m = std::sregex_iterator(log.begin(), log.end(), captured); m != std::sregex_iterator(); ++m) {
    committed.push_back((*m)[1].str());
  }
  ASSERT_GE(committed.size(), 3u) << log;
  exchange_.SetCallWall("QQQ", 530);  // the wall of captures made after the restart
  service_->Signal(SIGKILL);
  ASSERT_TRUE(service_->AwaitExit(kWaitLimit));

  const double restart = kOpen + 3600;
  ASSERT_TRUE(StartService(restart, kFastRate));
  std::vector<double> times = CaptureTimes();
  ASSERT_GE(times.size(), committed.size());
  for (size_t i = 0; i < times.size(); ++i) {
    if (i < committed.size()) {
      EXPECT_EQ(formats::UtcTimestampText(times[i]), committed[i]) << "capture " << i;
    } else {
      EXPECT_GE(times[i], restart) << "capture " << i << ": made after the restart, the held one gone";
    }
  }
  EXPECT_TRUE(WaitFor([&] { return (times = CaptureTimes()).size() > committed.size(); }, kWaitLimit))
      << "captures go on";
  EXPECT_GE(times.back(), restart);
  EXPECT_TRUE(WaitFor([&] { return NqCallWall() == 530 * kRatio; }, kWaitLimit));
}

// The README's demonstration: the sample chain served from a file that is then rewritten with
// the wall moved to the 540 calls and the chain's time five minutes on.
TEST_F(LiveService, TheSampleChainRewrittenInItsFileMovesTheWallAndBothCapturesSurviveAKill) {
  const std::string chain = dir_ + "/chain.json";
  std::filesystem::copy_file(std::string(ORDINEL_DATA) + "/chains/qqq_chain.json", chain);
  const std::string symbols =
      "[[symbol]]\nname = \"QQQ\"\nfile = \"chain.json\"\ninterval = 5\n"
      "off_hours_interval = 5\nfuture = \"NQ\"\nratio = 41.25\n";
  ASSERT_TRUE(StartService(kOpen + 3600, kFastRate, {}, symbols));
  ASSERT_TRUE(WaitFor([&] { return NqCallWall() == 530 * kRatio; }, kWaitLimit)) << service_->Err();

  std::string text = running_program::Slurp(chain);
  text = std::regex_replace(text, std::regex("\"timestamp\":\"2025-01-02 10:42:10\""),
                            "\"timestamp\":\"2025-01-02 10:47:10\"");
  // A 9 before each 540 call's open interest: 5525 becomes 95525.
  text = std::regex_replace(text, std::regex("C00540000\"[^}]*\"open_interest\":"), "$&9");
  std::ofstream(chain + ".new") << text;
  std::filesystem::rename(chain + ".new", chain);
  ASSERT_TRUE(WaitFor([&] { return NqCallWall() == 540 * kRatio; }, kWaitLimit)) << service_->Err();

  const std::vector<double> both = {1735832530, 1735832830};  // 15:42:10 and 15:47:10 UTC
  EXPECT_EQ(CaptureTimes(), both);
  EXPECT_EQ(ResearchRowTimes(), (std::vector<std::string>{"2025-01-02T15:42:10Z", "2025-01-02T15:47:10Z"}));
  service_->Signal(SIGKILL);
  ASSERT_TRUE(service_->AwaitExit(kWaitLimit));
  ASSERT_TRUE(StartService(kOpen + 7200, kFastRate, {}, symbols));
  EXPECT_EQ(NqCallWall(), 540 * kRatio);
  EXPECT_EQ(ResearchRowTimes(), (std::vector<std::string>{"2025-01-02T15:42:10Z", "2025-01-02T15:47:10Z"}));
}

TEST_F(LiveService, AnOpenListenAddressNeedsATokenAndATokenGuardsEveryPath) {
  Running refused({"service", "--config", WriteConfig("listen = \"0.0.0.0:0\"\n")});
  ASSERT_TRUE(refused.AwaitExit(kStartTimeout));
  EXPECT_EQ(refused.ExitCode(), 2);
  EXPECT_NE(refused.Err().find("0.0.0.0 is not a loopback address: give a token"), std::string::npos)
      << refused.Err();

  const std::string token = "t0ken-for-the-e2e-test";
  ASSERT_TRUE(
      StartService(kOpen, kFastRate, {}, "", "listen = \"127.0.0.1:0\"\ntoken = \"" + token + "\"\n"));
  const struct {
    std::string target;
    int status;
  } cases[] = {{"/health", 404},
               {"/metrics", 404},
               {"/" + token + "/metrics", 200},
               {"/wrong-token-wrong-token/metrics", 404}};
  for (const auto& c : cases) {
    int status = 0;
    Get(c.target, &status);
    EXPECT_EQ(status, c.status) << c.target;
  }
}

TEST_F(LiveService, TheTestClockGoesWithTheLiveServiceOnly) {
  const std::string config = WriteConfig();
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--clock-rate", "60"}, "--clock-rate sets the live service's clock and needs --config"},
      {{"--port", "0", "--clock-start", "1735828080"},
       "--clock-start sets the live service's clock and needs --config"},
      {{"--config", config, "--port", "0"}, "(--port belongs to the sample service)"},
      {{"--config", config, "--clock-rate", "0"}, "--clock-rate needs a number above 0 up to 3600, got '0'"},
      {{"--config", config, "--clock-start", "yesterday"}, "--clock-start needs a number"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"service"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    Running run(args);
    ASSERT_TRUE(run.AwaitExit(kStartTimeout)) << c.message;
    EXPECT_EQ(run.ExitCode(), 2) << c.message;
    EXPECT_NE(run.Err().find(c.message), std::string::npos) << run.Err();
  }
}

}  // namespace
