// The real study library on the chart host against the live service, both on one scripted clock
// in one New York session: the service captures the loopback exchange's chain, the exchange
// moves the call wall, the next capture moves it on the chart, the study raises the wall
// migration alert, and a research request shows the day's two captures and their change lines.
// The study runs in "Dynamic (live)" with structural alerts on: the locked default would hold
// the session's first map all day.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chart/chart_host.h"
#include "chart/study_library.h"
#include "live/capture_runtime.h"
#include "live/live_answers.h"
#include "live/live_config.h"
#include "live/live_server.h"
#include "live/live_state.h"
#include "live_exchange.h"
#include "loopback/loopback_test_support.h"
#include "palette/subgraphs.h"
#include "platform/posix/posix_services.h"
#include "store/sqlite_capture_store.h"
#include "study/fetch_cycle.h"
#include "transport/curl_transport.h"

namespace {

using live_exchange::Exchange;
using loopback::testing::WaitFor;

constexpr double kSessionMorning = 1735830000;  // 2025-01-02 10:00 New York
constexpr float kRatio = 41.25f;

class LiveServiceStudy : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "/ordinel_live_study_" + std::to_string(getpid());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    const std::string config =
        "listen = \"127.0.0.1:0\"\nstore = \"levels.sqlite\"\n[[symbol]]\nname = \"QQQ\"\n"
        "url = \"" +
        exchange_.ChainUrl() + "\"\nfuture = \"NQ\"\nratio = 41.25\n";
    std::string error;
    ASSERT_TRUE(live::ParseLiveConfig(config, "study.toml", dir_, live::ProcessEnvironment, &config_, &error))
        << error;
    store_ = store::OpenSqliteStore(config_.storePath, {}, &error);
    ASSERT_NE(store_, nullptr) << error;
    runtime_ = std::make_unique<live::CaptureRuntime>(config_, *store_, state_, clock_, Log());
    answers_ = std::make_unique<live::LiveAnswers>(
        live::AnswerContext{&config_, store_.get(), &clock_, &platform::DefaultServices(), Log()}, state_);
    server_ = std::make_unique<live::LiveServer>(*answers_);
    ASSERT_TRUE(server_->Start(config_.listen, &error)) << error;

    transport::CurlTransportOptions options;
    options.routes = {{study::kChartServiceOrigin, server_->Origin()}};
    transport_ = std::make_unique<transport::CurlTransport>(options);
    host_ = std::make_unique<chart::ChartHost>(chart::DefaultChart(), clock_, *transport_,
                                               platform::DefaultServices());
    library_ = chart::StudyLibrary::Open(ORDINEL_STUDY_LIBRARY, &error);
    ASSERT_NE(library_, nullptr) << error;
    host_->DeclarationCall(library_->Function());
    chart::InputStore& inputs = host_->Inputs();
    ASSERT_TRUE(inputs.StoreText(inputs.SlotOf("API base URL"), server_->Origin()));
    ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Snapshot mode"), 1)) << "Dynamic (live)";
    ASSERT_TRUE(inputs.EditYesNo(inputs.SlotOf("Structural alerts (successful live captures only)"), true));
    ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Workflow preset (Advanced keeps saved display)"), 2))
        << "Positioning: capture changes on the Context tab";
    // Room in the panel for the research lines under the map's.
    ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Panel font size"), 6));
    ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Panel line spacing (% of chart height)"), 0.5));
  }
  void TearDown() override {
    if (library_) host_->RemovalCall(library_->Function());
    host_.reset();
    transport_.reset();
    if (server_) server_->Stop();
    std::filesystem::remove_all(dir_);
  }
  live::LogLine Log() {
    return [this](const std::string& line) {
      std::lock_guard lock(logMutex_);
      log_ += line + "\n";
    };
  }

  // Ordinary calls, the clock moving `secondsPerCall` after each once the requests the call
  // started are answered, until `done`; false when it is not done within 20 seconds.
  bool CallUntil(const std::function<bool()>& done, double secondsPerCall) {
    return WaitFor(
        [&] {
          host_->OrdinaryCall(library_->Function());
          if (done()) return true;
          WaitFor([&] {
            for (const transport::TransferRecord& r : transport_->Transfers()) {
              if (r.outcome == transport::TransferOutcome::kInFlight) return false;
            }
            return true;
          });
          clock_.Set(clock_.Now() + secondsPerCall);
          return false;
        },
        std::chrono::milliseconds(20000));
  }
  float CallWall() const { return host_->Subgraphs().ValueAt(palette::kSgCallWall, host_->BarCount() - 1); }
  const host::DrawingRequest* Shown(const char* text) const {
    return host_->Drawings().FirstTextContaining(text);
  }

  Exchange exchange_;
  std::string dir_;
  chart::VirtualClock clock_{kSessionMorning};
  live::LiveConfig config_;
  std::unique_ptr<store::CaptureStore> store_;
  live::LiveState state_{{"QQQ"}};
  std::unique_ptr<live::CaptureRuntime> runtime_;
  std::unique_ptr<live::LiveAnswers> answers_;
  std::unique_ptr<live::LiveServer> server_;
  std::mutex logMutex_;
  std::string log_;
  std::unique_ptr<transport::CurlTransport> transport_;
  std::unique_ptr<chart::StudyLibrary> library_;
  std::unique_ptr<chart::ChartHost> host_;
};

TEST_F(LiveServiceStudy, TheChartFollowsTheMovedWallAlertsAndShowsTheDaysChanges) {
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), live::CaptureOutcome::kCaptured) << log_;
  ASSERT_TRUE(CallUntil([&] { return CallWall() == 525 * kRatio; }, 1)) << CallWall();
  EXPECT_TRUE(host_->Alerts().empty()) << host_->Alerts().front().text;

  exchange_.SetCallWall("QQQ", 530);
  clock_.Set(clock_.Now() + 60);
  ASSERT_EQ(runtime_->CaptureNow("QQQ"), live::CaptureOutcome::kCaptured) << log_;
  ASSERT_TRUE(CallUntil([&] { return CallWall() == 530 * kRatio; }, 5)) << CallWall();
  ASSERT_EQ(host_->Alerts().size(), 1u);
  const std::string& alert = host_->Alerts()[0].text;
  EXPECT_EQ(alert.rfind("NQ / QQQ / 2025-01-02: ", 0), 0u) << alert;
  EXPECT_NE(alert.find("call wall migration"), std::string::npos) << alert;

  chart::InputStore& inputs = host_->Inputs();
  ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Research request (change positive value to GET once)"), 1));
  ASSERT_TRUE(CallUntil([&] { return Shown("History 2 rows") != nullptr; }, 0.1))
      << (Shown("Research") ? Shown("Research")->text : "no research line");
  // Five strikes of 41.25 points each, at one ratio: all positioning, no basis.
  for (const char* line : {"CW positioning 206.25 | conversion/basis 0 (chart points)",
                           "PW positioning 0 | conversion/basis 0 (chart points)"}) {
    EXPECT_NE(Shown(line), nullptr) << line;
  }
}

}  // namespace
