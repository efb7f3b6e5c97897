#include "live/http_fetch.h"

#include <poll.h>

#include <cmath>
#include <memory>

#include "formats/file_io.h"
#include "platform/posix/curl_easy.h"
#include "text/format.h"

namespace live {
namespace {

// A transfer waits for its socket or the stop signal at most this long before it looks at the
// stop flag again (for a system that gave the signal no descriptor).
constexpr int kPollMs = 250;

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// One transfer's handles and buffers; the easy handle leaves the multi before both go.
struct Transfer {
  platform::CurlEasyHandle easy;
  std::unique_ptr<CURLM, MultiDeleter> multi;
  std::unique_ptr<curl_slist, HeaderListDeleter> headers;
  platform::CurlBodySink sink;
  char errorText[CURL_ERROR_SIZE] = {};
  bool added = false;

  ~Transfer() {
    if (added) curl_multi_remove_handle(multi.get(), easy.get());
  }
};

bool LimitRedirectsToHttp(CURL* easy) {
#if LIBCURL_VERSION_NUM >= 0x075500  // 7.85: protocols by name
  return curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
#else
  return curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS, long(CURLPROTO_HTTP | CURLPROTO_HTTPS)) == CURLE_OK;
#endif
}

bool Configure(const HttpFetchRequest& request, Transfer* t) {
  CURL* easy = t->easy.get();
  const long timeoutMs = std::lround(request.timeoutSeconds * 1000);
  bool ok = platform::SetCommonCurlOptions(easy, request.url, {timeoutMs, timeoutMs}, &t->sink);
  ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
  ok = ok && LimitRedirectsToHttp(easy);
  ok = ok && curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, kLiveUserAgent) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, t->errorText) == CURLE_OK;
#if LIBCURL_VERSION_NUM >= 0x075700  // 7.87
  // A transfer stopped while its name lookup runs leaves the lookup thread behind instead of
  // waiting for a slow DNS server: stopping must not sit that out.
  curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
#endif
  for (const auto& header : request.headers) {
    curl_slist* grown = curl_slist_append(t->headers.get(), platform::CurlHeaderLine(header).c_str());
    if (grown == nullptr) return false;
    t->headers.release();
    t->headers.reset(grown);
  }
  ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, t->headers.get()) == CURLE_OK;
  return ok;
}

// Runs the transfer until it ends (true, `*code` its result) or the stop signal rises (false).
bool Perform(Transfer* t, const StopSignal& stop, CURLcode* code) {
  CURLM* multi = t->multi.get();
  for (;;) {
    int running = 0;
    curl_multi_perform(multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      *code = message->data.result;
      return true;
    }
    if (stop.Requested()) return false;
    curl_waitfd stopFd{stop.Fd(), CURL_WAIT_POLLIN, 0};
    const unsigned extraFds = stop.Fd() >= 0 ? 1 : 0;
    curl_multi_poll(multi, &stopFd, extraFds, kPollMs, nullptr);
  }
}

std::string FailureText(CURLcode code, const Transfer& t, const HttpFetchRequest& request) {
  if (platform::BodyTooLarge(code, t.sink)) {
    return "the answer is larger than " + formats::SizeText(request.maxBodyBytes);
  }
  if (code == CURLE_OPERATION_TIMEDOUT) {
    return text::Format("no complete answer within %g s", request.timeoutSeconds);
  }
  if (code == CURLE_TOO_MANY_REDIRECTS) {
    return text::Format("more than %d redirects", kMaxRedirects);
  }
  return t.errorText[0] != '\0' ? std::string(t.errorText) : std::string(curl_easy_strerror(code));
}

}  // namespace

FetchStatus HttpFetch(const HttpFetchRequest& request, const StopSignal& stop, std::string* body,
                      std::string* error) {
  if (!platform::IsHttpUrl(request.url)) {
    *error = "not an http:// or https:// URL";
    return FetchStatus::kFailed;
  }
  Transfer t;
  t.sink.limit = request.maxBodyBytes;
  t.easy = platform::NewCurlEasy();
  t.multi.reset(curl_multi_init());
  if (!t.easy || !t.multi || !Configure(request, &t) ||
      curl_multi_add_handle(t.multi.get(), t.easy.get()) != CURLM_OK) {
    *error = "libcurl refused the transfer";
    return FetchStatus::kFailed;
  }
  t.added = true;
  CURLcode code = CURLE_OK;
  if (!Perform(&t, stop, &code)) return FetchStatus::kStopped;
  if (code != CURLE_OK) {
    *error = FailureText(code, t, request);
    return FetchStatus::kFailed;
  }
  long status = 0;
  curl_easy_getinfo(t.easy.get(), CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) {
    *error = text::Format("HTTP %d", status);
    return FetchStatus::kFailed;
  }
  *body = std::move(t.sink.body);
  return FetchStatus::kFetched;
}

}  // namespace live
