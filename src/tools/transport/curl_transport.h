// The chart host's live HTTP transport: libcurl performs each request on a worker thread while
// the study's calls go on; an origin route map sends public origins to local stand-ins.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "formats/file_io.h"
#include "transport/http_transport.h"
#include "transport/origin_route.h"

namespace transport {

struct CurlTransportOptions {
  std::vector<OriginRoute> routes;
  size_t maxBodyBytes = formats::kMaxAnswerBytes;
  std::chrono::milliseconds connectTimeout{10000};
  // Longer than the study's own 45 s wait, so that the study's timeout is what a slow answer
  // runs into; this bound only frees the connection.
  std::chrono::milliseconds transferTimeout{60000};
  // Sent when the request names no "User-Agent" of its own.
  std::string userAgent = "Ordinel-Chart-Host/1.0";
};

enum class TransferOutcome {
  kRefused,     // not accepted: the URL is not http(s) or a header cannot be sent
  kInFlight,    // accepted, no outcome yet
  kAnswered,    // a body arrived while this was the latest request
  kFailed,      // no answer: connection, timeout or protocol failure
  kTooLarge,    // no answer: the body outgrew the limit
  kSuperseded,  // a newer request was accepted before this one's body arrived
  kStopped,     // dropped unanswered because the transport shut down
};

// One request as the transport saw it and what became of it.
struct TransferRecord {
  HttpRequestRecord request;
  std::string routedUrl;  // what was fetched
  TransferOutcome outcome = TransferOutcome::kInFlight;
  long httpStatus = 0;   // 0 when no status line arrived
  size_t bodyBytes = 0;  // of an answered body
  std::string error;     // why it was refused or failed
};

inline constexpr size_t kTransferLogLimit = 256;

// What the study can observe is a body in the delivery slot, nothing more. So an answer with
// any HTTP status delivers its body as it came (an error page, the body of a 302: no redirect
// is followed); a transfer that fails or outgrows the body limit delivers nothing, and the
// study's own timeout takes over, as it would for an answer that never came.
class CurlTransport : public HttpTransport {
 public:
  // Starts the worker thread. When libcurl or the thread cannot be had, every request is
  // refused (see Ready).
  explicit CurlTransport(CurlTransportOptions options);
  // Cuts the transfer in flight short and joins the worker; returns within milliseconds.
  ~CurlTransport() override;
  CurlTransport(const CurlTransport&) = delete;
  CurlTransport& operator=(const CurlTransport&) = delete;

  // Accepts `request` at once and hands it to the worker; the transfer of any earlier request
  // is dropped and its answer will never be handed over. False, changing nothing, when the
  // routed URL is not an http(s) URL, a header cannot be sent (an empty name, ':' or a blank in
  // a name, CR, LF or NUL anywhere) or the transport is not ready. Never waits for I/O.
  bool Start(const HttpRequestRecord& request) override;
  // The latest request's body once its transfer ended with an answer, handed over once.
  std::optional<std::string> TakeAnswer() override;

  // False when the worker could not be started.
  bool Ready() const { return ready_; }
  // The latest kTransferLogLimit requests, oldest first, refused ones included.
  std::vector<TransferRecord> Transfers() const;

 private:
  struct Transfer;
  struct Queued {
    uint64_t generation = 0;
    std::string url;
    HttpRequestRecord request;
  };

  void Record(TransferRecord record, uint64_t generation);
  void Settle(uint64_t generation, TransferOutcome outcome, long status, std::string* body,
              std::string error);
  void WorkerLoop();
  std::unique_ptr<Transfer> Begin(Queued queued);
  void Drop(std::unique_ptr<Transfer>& transfer, TransferOutcome outcome);
  void FinishDone(std::unique_ptr<Transfer>& transfer);

  const CurlTransportOptions options_;
  void* multi_ = nullptr;  // the worker's CURLM, kept opaque so this header needs no curl.h
  bool ready_ = false;
  std::thread worker_;

  mutable std::mutex mutex_;  // guards everything below; never held across a libcurl call
  uint64_t generation_ = 0;   // of the latest accepted request
  std::optional<Queued> queued_;
  std::optional<std::string> answer_;
  bool stopping_ = false;
  std::deque<std::pair<uint64_t, TransferRecord>> log_;
};

}  // namespace transport
