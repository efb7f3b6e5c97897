// The libcurl transport: request validation and the route map on the calling thread, the
// transfers on one worker thread that drives a curl multi handle.
//
// One worker with a one-deep queue, rather than a thread per request: the delivery slot only
// ever holds the latest request's answer, so at most one transfer is worth running; a newer
// request cancels the older transfer outright instead of leaving it to run out on a thread of
// its own, and however often the study sends, one thread and one connection cache serve it.
// The worker waits in curl_multi_poll, which curl_multi_wakeup interrupts at once, so neither a
// new request nor shutdown waits for a network timeout or a progress-callback tick.
#include "transport/curl_transport.h"

#include <curl/curl.h>

#include <string_view>
#include <utility>

#include "platform/posix/curl_easy.h"

namespace transport {
namespace {

// The longest the worker sleeps when nothing happens; new work wakes it at once.
constexpr int kIdleWaitMs = 1000;

CURLM* AsMulti(void* multi) { return static_cast<CURLM*>(multi); }

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

// A header that libcurl would send as given: anything else would split the request or be read
// by libcurl as an instruction (a name alone removes one of its own headers).
bool IsSendableHeader(const std::pair<std::string, std::string>& header) {
  const auto& [name, value] = header;
  return !name.empty() && name.find_first_of(": \t") == name.npos && !HasLineBreakOrNul(name) &&
         !HasLineBreakOrNul(value);
}

}  // namespace

// ---- The transfer in flight (worker thread only) --------------------------------------------

struct CurlTransport::Transfer {
  uint64_t generation = 0;
  platform::CurlEasyHandle easy;
  curl_slist* headers = nullptr;
  platform::CurlBodySink sink;
  char errorText[CURL_ERROR_SIZE] = {};

  ~Transfer() {
    easy.reset();  // the handle may still point at the header list
    curl_slist_free_all(headers);
  }
  // Adds one header line; false when libcurl could not take it.
  bool AddHeader(const std::string& line) {
    curl_slist* grown = curl_slist_append(headers, line.c_str());
    if (grown) headers = grown;
    return grown != nullptr;
  }
};

CurlTransport::CurlTransport(CurlTransportOptions options) : options_(std::move(options)) {
  platform::InitCurlOnce();
  multi_ = curl_multi_init();
  if (!multi_) return;
  try {
    worker_ = std::thread([this] { WorkerLoop(); });
    ready_ = true;
  } catch (...) {
    ready_ = false;
  }
}

CurlTransport::~CurlTransport() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  if (multi_) curl_multi_wakeup(AsMulti(multi_));
  if (worker_.joinable()) worker_.join();
  if (multi_) curl_multi_cleanup(AsMulti(multi_));
}

bool CurlTransport::Start(const HttpRequestRecord& request) {
  TransferRecord record;
  record.request = request;
  record.routedUrl = RouteUrl(options_.routes, request.url);
  if (!ready_) {
    record.error = "the transport could not start its worker";
  } else if (!platform::IsHttpUrl(record.routedUrl)) {
    record.error = "not an http or https URL";
  } else {
    for (const auto& header : request.headers) {
      if (!IsSendableHeader(header)) record.error = "header '" + header.first + "' cannot be sent";
    }
  }
  {
    std::lock_guard lock(mutex_);
    if (!record.error.empty()) {
      record.outcome = TransferOutcome::kRefused;
      Record(std::move(record), 0);
      return false;
    }
    const uint64_t generation = ++generation_;
    if (queued_) Settle(queued_->generation, TransferOutcome::kSuperseded, 0, nullptr, "");
    queued_ = Queued{generation, record.routedUrl, request};
    answer_.reset();
    Record(std::move(record), generation);
  }
  // The wakeup only writes to curl's internal socket pair; it never blocks.
  curl_multi_wakeup(AsMulti(multi_));
  return true;
}

std::optional<std::string> CurlTransport::TakeAnswer() {
  std::lock_guard lock(mutex_);
  return std::exchange(answer_, std::nullopt);
}

std::vector<TransferRecord> CurlTransport::Transfers() const {
  std::lock_guard lock(mutex_);
  std::vector<TransferRecord> records;
  records.reserve(log_.size());
  for (const auto& entry : log_) records.push_back(entry.second);
  return records;
}

// Requires: mutex_ held.
void CurlTransport::Record(TransferRecord record, uint64_t generation) {
  log_.emplace_back(generation, std::move(record));
  while (log_.size() > kTransferLogLimit) log_.pop_front();
}

// Files the outcome of request `generation`; an answer goes to the slot only while it is still
// the latest request. Requires: mutex_ held.
void CurlTransport::Settle(uint64_t generation, TransferOutcome outcome, long status, std::string* body,
                           std::string error) {
  const bool latest = generation == generation_ && !stopping_;
  if (outcome == TransferOutcome::kAnswered && !latest) {
    outcome = stopping_ ? TransferOutcome::kStopped : TransferOutcome::kSuperseded;
  }
  for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
    if (it->first != generation) continue;
    it->second.outcome = outcome;
    it->second.httpStatus = status;
    it->second.bodyBytes = body ? body->size() : 0;
    it->second.error = std::move(error);
    break;
  }
  if (outcome == TransferOutcome::kAnswered) answer_ = std::move(*body);
}

// ---- Worker thread --------------------------------------------------------------------------

void CurlTransport::WorkerLoop() {
  std::unique_ptr<Transfer> active;
  for (;;) {
    std::optional<Queued> next;
    {
      std::lock_guard lock(mutex_);
      if (stopping_) break;
      next = std::exchange(queued_, std::nullopt);
    }
    if (next) {
      if (active) Drop(active, TransferOutcome::kSuperseded);
      active = Begin(std::move(*next));
    }
    if (active) {
      int running = 0;
      curl_multi_perform(AsMulti(multi_), &running);
      FinishDone(active);
    }
    curl_multi_poll(AsMulti(multi_), nullptr, 0, kIdleWaitMs, nullptr);
  }
  if (active) Drop(active, TransferOutcome::kStopped);
  std::lock_guard lock(mutex_);
  if (queued_) Settle(queued_->generation, TransferOutcome::kStopped, 0, nullptr, "");
  queued_.reset();
}

std::unique_ptr<CurlTransport::Transfer> CurlTransport::Begin(Queued queued) {
  auto transfer = std::make_unique<Transfer>();
  transfer->generation = queued.generation;
  transfer->sink.limit = options_.maxBodyBytes;
  transfer->easy = platform::NewCurlEasy();
  CURL* easy = transfer->easy.get();
  const platform::CurlTimeouts timeouts{static_cast<long>(options_.connectTimeout.count()),
                                        static_cast<long>(options_.transferTimeout.count())};
  bool ok = easy && platform::SetCommonCurlOptions(easy, queued.url, timeouts, &transfer->sink);
  const HttpRequestRecord& request = queued.request;
  for (const auto& header : request.headers) ok = ok && transfer->AddHeader(platform::CurlHeaderLine(header));
  // No "Expect: 100-continue" pause before a larger body: send as the platform would.
  ok = ok && transfer->AddHeader("Expect:");
  if (ok) {
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->errorText);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, options_.userAgent.c_str());  // a header wins
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer->headers);
#if LIBCURL_VERSION_NUM >= 0x075700  // 7.87
    // A transfer dropped while its name lookup still runs leaves the lookup thread to finish
    // and clean up on its own instead of waiting for it: a newer request or shutdown must not
    // sit out a slow DNS server.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
#endif
    if (request.body) {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body->size()));
      ok = curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, request.body->data()) == CURLE_OK;
    } else {
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
  }
  ok = ok && curl_multi_add_handle(AsMulti(multi_), easy) == CURLM_OK;
  if (ok) return transfer;
  std::lock_guard lock(mutex_);
  Settle(queued.generation, TransferOutcome::kFailed, 0, nullptr, "libcurl refused the transfer");
  return nullptr;
}

void CurlTransport::Drop(std::unique_ptr<Transfer>& transfer, TransferOutcome outcome) {
  curl_multi_remove_handle(AsMulti(multi_), transfer->easy.get());
  {
    std::lock_guard lock(mutex_);
    Settle(transfer->generation, outcome, 0, nullptr, "");
  }
  transfer.reset();
}

void CurlTransport::FinishDone(std::unique_ptr<Transfer>& transfer) {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(AsMulti(multi_), &left)) {
    if (!transfer || message->msg != CURLMSG_DONE || message->easy_handle != transfer->easy.get()) {
      continue;
    }
    const CURLcode code = message->data.result;
    long status = 0;
    curl_easy_getinfo(transfer->easy.get(), CURLINFO_RESPONSE_CODE, &status);
    curl_multi_remove_handle(AsMulti(multi_), transfer->easy.get());
    TransferOutcome outcome = TransferOutcome::kAnswered;
    std::string error;
    if (platform::BodyTooLarge(code, transfer->sink)) {
      outcome = TransferOutcome::kTooLarge;
      error = "the body is over " + std::to_string(options_.maxBodyBytes) + " bytes";
    } else if (code != CURLE_OK) {
      outcome = TransferOutcome::kFailed;
      error = transfer->errorText[0] ? transfer->errorText : curl_easy_strerror(code);
    }
    {
      std::lock_guard lock(mutex_);
      std::string* body = outcome == TransferOutcome::kAnswered ? &transfer->sink.body : nullptr;
      Settle(transfer->generation, outcome, status, body, std::move(error));
    }
    transfer.reset();
  }
}

}  // namespace transport
