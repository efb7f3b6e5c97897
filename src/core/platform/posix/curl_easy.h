// What every libcurl transfer of this program shares: the one-time global set-up, an owned easy
// handle, a body sink with a size limit and the options that keep a transfer bounded and safe.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <utility>

namespace platform {

// Readies libcurl's global state once per process. Safe from any thread.
void InitCurlOnce();

struct CurlEasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlEasyHandle = std::unique_ptr<CURL, CurlEasyDeleter>;

// A fresh easy handle (libcurl readied first); nullptr when libcurl cannot make one.
CurlEasyHandle NewCurlEasy();

// A response body that never grows past `limit` bytes: the transfer fails instead and
// `overflow` says why.
struct CurlBodySink {
  size_t limit = 0;
  std::string body;
  bool overflow = false;
};

struct CurlTimeouts {
  long connectMs = 10000;  // name resolution and connection
  long totalMs = 60000;    // the whole transfer
};

// Sets what every transfer shares: `url`, HTTP and HTTPS only, no redirects followed, no
// signals, loopback never through a proxy, the timeouts, an announced body over the sink's
// limit refused, and the body written into `sink`. Requires: `sink` outlives the transfer. False when libcurl refuses an option.
bool SetCommonCurlOptions(CURL* curl, const std::string& url, const CurlTimeouts& timeouts,
                          CurlBodySink* sink);

// `header` as libcurl's header list takes it: "Name: value", or "Name;" for an empty value
// (which "Name:" would remove instead of sending).
std::string CurlHeaderLine(const std::pair<std::string, std::string>& header);

// True for a failed transfer whose body outgrew the sink's limit (announced or received).
bool BodyTooLarge(CURLcode code, const CurlBodySink& sink);

// True when `url` parses as an absolute http:// or https:// URL with a host, as libcurl reads
// it; false for other schemes, relative or malformed URLs (blanks, control bytes).
bool IsHttpUrl(const std::string& url);

}  // namespace platform
