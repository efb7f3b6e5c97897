// The live libcurl transport against the sample levels service over loopback: what a request
// carries, which answers reach the study and which never do, and the research worker's
// blocking GET.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "loopback/loopback_listener.h"
#include "loopback/loopback_test_support.h"
#include "platform/posix/posix_services.h"
#include "service/levels_service.h"
#include "service/service_test_support.h"
#include "transport/curl_transport.h"

namespace {

using loopback::testing::WaitFor;
using service::testing::HeaderValue;
using std::chrono::milliseconds;
using transport::CurlTransport;
using transport::CurlTransportOptions;
using transport::HttpRequestRecord;
using transport::TransferOutcome;

constexpr const char* kLevelsTarget = "/extension/levels?symbol=NQ&basis=signed_flow";
constexpr const char* kVixTarget = "/v8/finance/chart/%5EVIX?interval=1d&range=5d";
constexpr const char* kQqqTarget = "/v8/finance/chart/QQQ?interval=1d&range=1mo";
const host::HttpHeaders kStudyHeaders = {{"Content-Type", "application/json"},
                                         {"Accept", "application/json"},
                                         {"User-Agent", "Ordinel-Sierra/4.7.1"}};

// The answer the transport hands over within `timeout`; no value when none comes.
std::optional<std::string> AwaitAnswer(CurlTransport& transport, milliseconds timeout = milliseconds(10000)) {
  std::optional<std::string> answer;
  WaitFor([&] { return (answer = transport.TakeAnswer()).has_value(); }, timeout);
  return answer;
}

// The last transfer once it has an outcome.
transport::TransferRecord AwaitOutcome(const CurlTransport& transport) {
  WaitFor([&] { return transport.Transfers().back().outcome != TransferOutcome::kInFlight; });
  return transport.Transfers().back();
}

// A few lines of server for what the sample service does not do: a body sent in chunks without
// an announced length (GET /chunked?bytes=N).
class TinyServer {
 public:
  TinyServer() {
    auto server = std::make_unique<loopback::BoundedServer>();
    server->Get("/chunked", [](const httplib::Request& request, httplib::Response& response) {
      const size_t total = std::stoul(request.get_param_value("bytes"));
      response.set_chunked_content_provider(
          "application/json", [total](size_t offset, httplib::DataSink& sink) {
            const std::string chunk(std::min<size_t>(total - offset, 8192), ' ');
            if (!chunk.empty()) sink.write(chunk.data(), chunk.size());
            if (offset + chunk.size() >= total) sink.done();
            return true;
          });
    });
    std::string error;
    EXPECT_TRUE(listener_.Start(std::move(server), 0, &error)) << error;
  }
  std::string Origin() const { return listener_.Origin(); }

 private:
  loopback::Listener listener_{"the chunked server"};
};

class LiveTransport : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.Start(0, &error)) << error;
  }
  std::string File(const char* name) const { return service::testing::DataFile(catalogue_, name); }
  void SetFault(const char* path, const char* text) { service::testing::SetFault(service_, path, text); }
  HttpRequestRecord Get(const std::string& target) const {
    return {0, service_.Origin() + target, std::nullopt, {}};
  }
  HttpRequestRecord LevelsPost() const { return {0, service_.Origin() + kLevelsTarget, "{}", kStudyHeaders}; }

  const service::FixtureCatalogue catalogue_{ORDINEL_SOURCE_DATA_DIR, {}};
  service::LevelsService service_{catalogue_};
};

TEST_F(LiveTransport, PostCarriesBodyAndHeadersAndGetCarriesNeither) {
  CurlTransport transport({});
  ASSERT_TRUE(transport.Start(LevelsPost()));
  EXPECT_EQ(AwaitAnswer(transport), File("legacy.json"));
  ASSERT_TRUE(transport.Start(Get(kVixTarget)));
  EXPECT_EQ(AwaitAnswer(transport), File("vix_chart.json"));

  const std::vector<service::RecordedRequest> seen = service_.Requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].target, kLevelsTarget);
  EXPECT_EQ(seen[0].body, "{}");
  for (const auto& [name, value] : kStudyHeaders) {
    EXPECT_EQ(HeaderValue(seen[0], name.c_str()), value) << name;
  }
  EXPECT_EQ(HeaderValue(seen[0], "Expect"), std::nullopt);
  EXPECT_EQ(HeaderValue(seen[0], "REMOTE_ADDR"), std::nullopt) << "the peer's address is no header";
  EXPECT_EQ(seen[1].method, "GET");
  EXPECT_EQ(seen[1].target, kVixTarget);
  EXPECT_EQ(seen[1].body, "");
  EXPECT_EQ(HeaderValue(seen[1], "Content-Type"), std::nullopt);
  EXPECT_EQ(HeaderValue(seen[1], "User-Agent"), CurlTransportOptions{}.userAgent);
}

// The study sees a body and nothing else: whatever the status, a body that came is handed over
// (a redirect's own, never its target's); a transfer that broke off hands over nothing, so the
// study's own timeout runs.
TEST_F(LiveTransport, AnswersOfAnyStatusDeliverTheirBodyAndBrokenOnesNothing) {
  struct Case {
    const char* fault;
    TransferOutcome outcome;
    long status;
    std::optional<std::string> delivered;
  };
  const Case cases[] = {
      {"drop", TransferOutcome::kFailed, 200, std::nullopt},
      {"redirect=/v8/finance/chart/QQQ?interval=1d&range=1mo", TransferOutcome::kAnswered, 302,
       "moved to /v8/finance/chart/QQQ?interval=1d&range=1mo\n"},
  };
  CurlTransport transport({});
  for (const Case& c : cases) {
    SetFault("levels", c.fault);
    ASSERT_TRUE(transport.Start(LevelsPost())) << c.fault;
    const transport::TransferRecord record = AwaitOutcome(transport);
    EXPECT_EQ(record.outcome, c.outcome) << c.fault << ": " << record.error;
    EXPECT_EQ(record.httpStatus, c.status) << c.fault;
    EXPECT_EQ(transport.TakeAnswer(), c.delivered) << c.fault;
  }
}

TEST_F(LiveTransport, BodyOverTheLimitDeliversNothing) {
  TinyServer tiny;
  CurlTransportOptions options;
  options.maxBodyBytes = 50000;
  CurlTransport transport(options);
  struct Case {
    const char* what;
    HttpRequestRecord request;
    TransferOutcome outcome;
  };
  const Case cases[] = {
      {"announced, at the limit", Get(kVixTarget), TransferOutcome::kAnswered},
      {"announced, one over", Get(kQqqTarget), TransferOutcome::kTooLarge},
      {"chunked, at the limit",
       {0, tiny.Origin() + "/chunked?bytes=50000", {}, {}},
       TransferOutcome::kAnswered},
      {"chunked, one over", {0, tiny.Origin() + "/chunked?bytes=50001", {}, {}}, TransferOutcome::kTooLarge},
  };
  SetFault("vix", "oversize=50000");
  SetFault("qqq", "oversize=50001");
  for (const Case& c : cases) {
    ASSERT_TRUE(transport.Start(c.request)) << c.what;
    const transport::TransferRecord record = AwaitOutcome(transport);
    EXPECT_EQ(record.outcome, c.outcome) << c.what << ": " << record.error;
    const std::optional<std::string> answer = transport.TakeAnswer();
    if (c.outcome == TransferOutcome::kAnswered) {
      EXPECT_EQ(answer ? answer->size() : 0, 50000u) << c.what;
    } else {
      EXPECT_FALSE(answer.has_value()) << c.what;
    }
  }
}

TEST_F(LiveTransport, SupersededAnswersAreNeverDelivered) {
  const std::string vix = File("vix_chart.json");
  CurlTransport transport({});

  ASSERT_TRUE(transport.Start(Get(kVixTarget)));
  ASSERT_TRUE(WaitFor([&] { return transport.Transfers().back().outcome == TransferOutcome::kAnswered; }))
      << "the VIX answer arrives";
  SetFault("qqq", "delay=100,count=1");
  ASSERT_TRUE(transport.Start(Get(kQqqTarget)));
  EXPECT_EQ(transport.TakeAnswer(), std::nullopt) << "an arrived answer not yet taken";
  EXPECT_EQ(AwaitAnswer(transport), File("qqq_chart.json"));

  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(transport.Start(LevelsPost()));
    ASSERT_TRUE(transport.Start(Get(kVixTarget)));
    EXPECT_EQ(AwaitAnswer(transport), vix) << "round " << round;
    EXPECT_EQ(transport.TakeAnswer(), std::nullopt) << "round " << round;
  }
}

// The research worker's blocking GET shares the transfer set-up with the transport.
TEST_F(LiveTransport, BlockingGetKeepsOnlyA200BodyWithinTheLimit) {
  platform::HttpGetLimits limits;
  limits.maxBodyBytes = 50000;
  limits.userAgent = "Ordinel-Research-Test";
  SetFault("vix", "status=503");
  SetFault("qqq", "oversize=50001");
  struct Case {
    const char* target;
    unsigned status;
    std::string body;
  };
  const Case cases[] = {
      {kLevelsTarget, 200, File("legacy.json")},
      {kVixTarget, 503, ""},
      {kQqqTarget, 0, ""},  // over the limit
  };
  for (const Case& c : cases) {
    const platform::HttpGetResult result =
        platform::DefaultServices().HttpsGet(service_.Origin() + c.target, limits);
    EXPECT_EQ(result.status, c.status) << c.target;
    EXPECT_EQ(result.body, c.body) << c.target;
  }
  ASSERT_FALSE(service_.Requests().empty());
  EXPECT_EQ(service_.Requests()[0].method, "GET");
  EXPECT_EQ(HeaderValue(service_.Requests()[0], "User-Agent"), limits.userAgent);
}

}  // namespace
