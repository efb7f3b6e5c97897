// The on-demand research GET: a request record shared by the study instance and a detached
// worker thread, which publishes its result by setting `done` last.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/services.h"

namespace GexResearch {

// Written only by the worker until `done` is set (release); read by the study only after it
// has loaded `done` true (acquire).
struct Request {
  explicit Request(std::string requestKey) : key(std::move(requestKey)) {}

  std::atomic<bool> done{false};
  const std::string key;  // research key the request was started for
  std::string body;       // kept only with status 200
  uint32_t status = 0;    // HTTP status; 0 for no status, an over-limit body or a failure
};

}  // namespace GexResearch

namespace research {

inline constexpr const char* kResearchPath = "/market-context/indicator-research";
inline constexpr const char* kResearchUserAgent = "Ordinel-Sierra-Research/4.7.0";
inline constexpr size_t kResearchBodyLimit = 0x800000;

// `origin` + "/market-context/indicator-research?symbol=..&source=..&day=..", the parts joined
// as they are.
std::string ResearchUrl(const std::string& origin, const std::string& symbol, const std::string& source,
                        const std::string& day);

// Timeouts, body limit and user agent of the research GET.
platform::HttpGetLimits ResearchGetLimits();

// Performs the GET for `request` and publishes the result (`done` stored last). A body over
// the limit gives status 0 and no body; a status other than 200 leaves the body empty; a
// failure of any kind gives status 0.
void RunResearchWorker(platform::Services& services, const std::string& url, GexResearch::Request& request);

// A new request for `key`, its GET started on a detached worker that shares the record; returns
// at once. When no thread can be started the request is already complete with status 0.
// Throws only when the record itself cannot be allocated. Requires: `services` outlives the
// worker (it is process-wide).
std::shared_ptr<GexResearch::Request> StartResearchRequest(platform::Services& services,
                                                           const std::string& origin,
                                                           const std::string& symbol,
                                                           const std::string& source, const std::string& day,
                                                           const std::string& key);

}  // namespace research
