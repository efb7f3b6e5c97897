#include "transport/curl_transport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "loopback/loopback_test_support.h"

namespace transport {
namespace {

using loopback::testing::WaitFor;
using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// A loopback port that takes connections (the kernel completes them) and never answers, so a
// transfer to it stays in flight until something ends it.
class SilentListener {
 public:
  SilentListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
  }
  ~SilentListener() {
    if (peer_ >= 0) close(peer_);
    if (fd_ >= 0) close(fd_);
  }
  // "http://127.0.0.1:PORT"; the port is 0 when the socket could not be set up.
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int Port() const { return port_; }

  // Takes the first connection and waits until its request has begun to arrive (the peer is
  // then left waiting for an answer); false when neither happens within `timeout`.
  bool AwaitRequest(milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    if (!AwaitReadable(fd_, deadline)) return false;
    peer_ = accept(fd_, nullptr, nullptr);
    return peer_ >= 0 && AwaitReadable(peer_, deadline);
  }

 private:
  static bool AwaitReadable(int fd, SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - SteadyClock::now());
    pollfd ready{fd, POLLIN, 0};
    return left.count() > 0 && poll(&ready, 1, static_cast<int>(left.count())) == 1;
  }

  int fd_ = -1;
  int peer_ = -1;
  int port_ = 0;
};

HttpRequestRecord Get(std::string url) { return {0, std::move(url), std::nullopt, {}}; }

TransferOutcome OutcomeOf(const CurlTransport& transport, size_t index) {
  const std::vector<TransferRecord> records = transport.Transfers();
  return index < records.size() ? records[index].outcome : TransferOutcome::kInFlight;
}

TEST(CurlTransport, RefusesWhatCannotBeSentAndKeepsTheRequestInFlight) {
  SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  CurlTransport transport({});
  ASSERT_TRUE(transport.Ready());
  ASSERT_TRUE(transport.Start(Get(listener.Origin() + "/pending")));
  struct Case {
    const char* what;
    HttpRequestRecord request;
  };
  const std::string ok = listener.Origin() + "/x";
  const Case cases[] = {
      {"file scheme", Get("file:///etc/passwd")},  // the rest of the URL gate: platform::IsHttpUrl
      {"CRLF in value", {0, ok, "{}", {{"Accept", "a\r\nX-Injected: 1"}}}},
      {"LF in name", {0, ok, "{}", {{"X\nY", "1"}}}},
      {"colon in name", {0, ok, "{}", {{"Host:", "evil"}}}},
      {"blank in name", {0, ok, "{}", {{"User Agent", "x"}}}},
      {"empty name", {0, ok, "{}", {{"", "x"}}}},
      {"NUL in value", {0, ok, "{}", {{"Accept", std::string("a\0b", 3)}}}},
  };
  for (const Case& c : cases) EXPECT_FALSE(transport.Start(c.request)) << c.what;
  const std::vector<TransferRecord> records = transport.Transfers();
  ASSERT_EQ(records.size(), 1 + std::size(cases));
  EXPECT_EQ(records[0].outcome, TransferOutcome::kInFlight) << "a refusal drops nothing";
  for (size_t i = 1; i < records.size(); ++i) {
    EXPECT_EQ(records[i].outcome, TransferOutcome::kRefused) << cases[i - 1].what;
    EXPECT_FALSE(records[i].error.empty()) << cases[i - 1].what;
  }
  EXPECT_TRUE(transport.Start({0, ok, "", {{"X-Empty", ""}}})) << "an empty value can be sent";
}

// Refused connections and bodies that break off fail alike: tests/live_e2e_test.
TEST(CurlTransport, NoAnswerWithinTheTransferTimeoutDeliversNothing) {
  SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  CurlTransportOptions options;
  options.transferTimeout = milliseconds(200);
  CurlTransport transport(options);
  ASSERT_TRUE(transport.Start(Get(listener.Origin() + "/x")));
  EXPECT_TRUE(
      WaitFor([&] { return OutcomeOf(transport, 0) != TransferOutcome::kInFlight; }, milliseconds(10000)));
  EXPECT_EQ(OutcomeOf(transport, 0), TransferOutcome::kFailed);
  EXPECT_FALSE(transport.Transfers()[0].error.empty());
  EXPECT_FALSE(transport.TakeAnswer().has_value());
}

TEST(CurlTransport, NewerRequestCancelsTheTransferInFlight) {
  SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  CurlTransport transport({});
  ASSERT_TRUE(transport.Start(Get(listener.Origin() + "/first")));
  ASSERT_TRUE(transport.Start(Get(listener.Origin() + "/second")));
  EXPECT_TRUE(
      WaitFor([&] { return OutcomeOf(transport, 0) == TransferOutcome::kSuperseded; }, milliseconds(5000)));
  EXPECT_EQ(OutcomeOf(transport, 1), TransferOutcome::kInFlight);
}

// The transfer timeout is a minute; shutdown must not wait for it.
TEST(CurlTransport, DestructionCutsTheTransferInFlightShort) {
  SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  auto transport = std::make_unique<CurlTransport>(CurlTransportOptions{});
  ASSERT_TRUE(transport->Start({0, listener.Origin() + "/levels", "{}", {}}));
  ASSERT_TRUE(listener.AwaitRequest(milliseconds(10000))) << "the worker connects and sends";
  ASSERT_EQ(OutcomeOf(*transport, 0), TransferOutcome::kInFlight);
  const auto start = SteadyClock::now();
  transport.reset();
  EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace transport
