// The real study library on the chart host, fed through the live libcurl transport by the
// sample levels service over loopback: the map arrives, and a slow or vanished service never
// makes a study call wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "chart/chart_host.h"
#include "chart/study_library.h"
#include "loopback/loopback_test_support.h"
#include "palette/subgraphs.h"
#include "platform/posix/posix_services.h"
#include "research/research_request.h"
#include "service/levels_service.h"
#include "service/service_test_support.h"
#include "study/fetch_cycle.h"
#include "transport/curl_transport.h"

namespace {

using loopback::testing::WaitFor;
using service::testing::HeaderValue;
using std::chrono::milliseconds;
using transport::CurlTransport;
using transport::CurlTransportOptions;
using transport::TransferOutcome;

constexpr double kSessionStart = 1735832530;  // 2025-01-02 15:42:10 UTC, the sample map's time

class LiveStudy : public ::testing::Test {
 protected:
  void SetUp() override { Open(/*lendServices=*/true); }
  // The service, the transport, a host that lends the Linux services or none, the declared study.
  void Open(bool lendServices) {
    std::string error;
    ASSERT_TRUE(service_.Start(0, &error)) << error;
    CurlTransportOptions options;
    options.routes = {{study::kChartServiceOrigin, service_.Origin()}};
    transport_ = std::make_unique<CurlTransport>(options);
    host_ = lendServices ? std::make_unique<chart::ChartHost>(chart::DefaultChart(), clock_, *transport_,
                                                              platform::DefaultServices())
                         : std::make_unique<chart::ChartHost>(chart::DefaultChart(), clock_, *transport_);
    library_ = chart::StudyLibrary::Open(ORDINEL_STUDY_LIBRARY, &error);
    ASSERT_NE(library_, nullptr) << error;
    host_->DeclarationCall(library_->Function());
    chart::InputStore& inputs = host_->Inputs();
    ASSERT_TRUE(inputs.StoreText(inputs.SlotOf("API base URL"), service_.Origin()));
    ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Snapshot mode"), 1)) << "Dynamic (live)";
  }
  void TearDown() override {
    if (library_) host_->RemovalCall(library_->Function());
  }

  // One ordinary call; the clock moves on and the driver pauses briefly, as a platform would.
  // Every request the call started must still be in flight when it returns while the service
  // holds its answers back: a call that waited for one would find it answered.
  void Call(double secondsPerCall) {
    const size_t before = transport_->Transfers().size();
    host_->OrdinaryCall(library_->Function());
    const auto records = transport_->Transfers();
    for (size_t i = before; i < records.size() && serviceHoldsAnswers_; ++i) {
      EXPECT_EQ(records[i].outcome, TransferOutcome::kInFlight) << records[i].routedUrl;
    }
    clock_.Set(clock_.Now() + secondsPerCall);
    std::this_thread::sleep_for(milliseconds(5));
  }
  // Call wall, put wall and gamma flip at the last bar.
  std::vector<float> Walls() const {
    const int last = host_->BarCount() - 1;
    return {host_->Subgraphs().ValueAt(palette::kSgCallWall, last),
            host_->Subgraphs().ValueAt(palette::kSgPutWall, last),
            host_->Subgraphs().ValueAt(palette::kSgGammaFlip, last)};
  }

  chart::VirtualClock clock_{kSessionStart};
  const service::FixtureCatalogue catalogue_{ORDINEL_SOURCE_DATA_DIR, [this] { return clock_.Now(); }};
  service::LevelsService service_{catalogue_};
  std::unique_ptr<CurlTransport> transport_;
  std::unique_ptr<chart::StudyLibrary> library_;
  std::unique_ptr<chart::ChartHost> host_;
  bool serviceHoldsAnswers_ = false;
};

TEST_F(LiveStudy, MapArrivesOverLoopbackAndStaysWhileTheServiceIsSlowOrGone) {
  const std::vector<float> sampleWalls = {21862.5f, 21243.75f, 21456.75f};
  for (int call = 0; call < 400; ++call) {
    if (Walls() == sampleWalls) break;
    Call(1);
  }
  ASSERT_EQ(Walls(), sampleWalls);

  service::Fault slow;
  slow.delayMs = 3000;
  service_.Faults().Set("*", slow);
  serviceHoldsAnswers_ = true;
  const size_t seenBeforeSlow = service_.Requests().size();
  for (int call = 0; call < 80; ++call) {  // 400 s: a levels refresh and a chart refresh
    Call(5);
    ASSERT_EQ(Walls(), sampleWalls) << "slow service, call " << call;
  }
  EXPECT_GT(service_.Requests().size(), seenBeforeSlow);
  serviceHoldsAnswers_ = false;

  service_.Stop();
  const size_t transfersBeforeStop = transport_->Transfers().size();
  for (int call = 0; call < 80; ++call) {
    Call(5);
    ASSERT_EQ(Walls(), sampleWalls) << "service gone, call " << call;
  }
  const auto records = transport_->Transfers();
  EXPECT_TRUE(std::any_of(records.begin() + transfersBeforeStop, records.end(), [](const auto& r) {
    return r.outcome == TransferOutcome::kFailed;
  })) << "requests went out and failed while the service was gone";
}

// The real platform lends no services: the library's own layer must date the research day in
// New York and perform the research GET.
class LiveStudyWithoutLentServices : public LiveStudy {
 protected:
  void SetUp() override { Open(/*lendServices=*/false); }
};

TEST_F(LiveStudyWithoutLentServices, ResearchDayAndGetComeFromTheLibrarysOwnLayer) {
  clock_.Set(1735873200);  // 2025-01-03T03:00Z: still 2025-01-02 in New York
  chart::InputStore& inputs = host_->Inputs();
  ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Workflow preset (Advanced keeps saved display)"), 2))
      << "Positioning: capture changes on the Context tab";
  ASSERT_TRUE(inputs.EditNumber(inputs.SlotOf("Research request (change positive value to GET once)"), 1));
  const auto shown = [&](const char* text) { return host_->Drawings().FirstTextContaining(text); };
  const bool captured = WaitFor([&] {
    host_->OrdinaryCall(library_->Function());
    return shown("Research captured on demand") != nullptr;  // the panel may wrap the rest
  });
  const host::DrawingRequest* status = shown("Research");
  ASSERT_TRUE(captured) << "no sample capture for 2025-01-02 shown; research line: "
                        << (status ? status->text : "none");

  const auto requests = service_.Requests();
  const auto research = std::find_if(requests.begin(), requests.end(), [](const auto& r) {
    return r.target.rfind(research::kResearchPath, 0) == 0;
  });
  ASSERT_NE(research, requests.end());
  EXPECT_EQ(research->target, "/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02");
  EXPECT_EQ(HeaderValue(*research, "User-Agent"), research::kResearchUserAgent);
}

}  // namespace
