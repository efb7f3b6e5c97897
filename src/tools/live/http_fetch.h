// One blocking GET for the capture workers: a chain, a spot or a futures price from a URL,
// bounded in time and size, following redirects only to http and https, and cut short at once
// by the runtime's stop signal.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "live/fetch_status.h"
#include "live/stop_signal.h"

namespace live {

inline constexpr const char* kLiveUserAgent = "Ordinel-Live/1.0";
// Redirects followed before a fetch fails.
inline constexpr long kMaxRedirects = 5;

struct HttpFetchRequest {
  std::string url;  // http:// or https://
  std::vector<std::pair<std::string, std::string>> headers;
  double timeoutSeconds = 30;  // to connect, and for the whole transfer
  size_t maxBodyBytes = 0;
};

// GETs `request.url` into `*body`. kFetched for status 200; kStopped when `stop` is raised
// meanwhile; kFailed with `*error` saying why ("HTTP 404", "no complete answer within 30 s",
// "the answer is larger than 64 MiB", a redirect to another scheme, libcurl's reason) for
// anything else. The URL is never part of the error: it may carry a key.
FetchStatus HttpFetch(const HttpFetchRequest& request, const StopSignal& stop, std::string* body,
                      std::string* error);

}  // namespace live
