#include "research/research_request.h"

#include <utility>

namespace research {
namespace {

// The failure outcome: whatever was read is dropped and the request ends without a status.
void PublishFailure(GexResearch::Request& request) {
  request.body.clear();
  request.status = 0;
  request.done.store(true, std::memory_order_release);
}

void TakeResult(platform::HttpGetResult&& result, GexResearch::Request& request) {
  request.status = result.status;
  if (result.status != 200) return;  // the body of any other answer is never kept
  if (result.body.size() > kResearchBodyLimit) {
    request.status = 0;
    return;
  }
  request.body = std::move(result.body);
}

}  // namespace

std::string ResearchUrl(const std::string& origin, const std::string& symbol, const std::string& source,
                        const std::string& day) {
  return origin + kResearchPath + "?symbol=" + symbol + "&source=" + source + "&day=" + day;
}

platform::HttpGetLimits ResearchGetLimits() {
  platform::HttpGetLimits limits;
  limits.resolveTimeoutMs = 5000;
  limits.connectTimeoutMs = 5000;
  limits.sendTimeoutMs = 20000;
  limits.receiveTimeoutMs = 20000;
  limits.maxBodyBytes = kResearchBodyLimit;
  limits.userAgent = kResearchUserAgent;
  return limits;
}

void RunResearchWorker(platform::Services& services, const std::string& url, GexResearch::Request& request) {
  try {
    TakeResult(services.HttpsGet(url, ResearchGetLimits()), request);
  } catch (...) {
    PublishFailure(request);
    return;
  }
  request.done.store(true, std::memory_order_release);
}

std::shared_ptr<GexResearch::Request> StartResearchRequest(platform::Services& services,
                                                           const std::string& origin,
                                                           const std::string& symbol,
                                                           const std::string& source, const std::string& day,
                                                           const std::string& key) {
  auto request = std::make_shared<GexResearch::Request>(key);
  bool started = false;
  try {
    // The worker's own share of the record keeps it alive should the instance go first.
    started = services.StartDetachedThread(
        [&services, shared = request, url = ResearchUrl(origin, symbol, source, day)] {
          RunResearchWorker(services, url, *shared);
        });
  } catch (...) {
    started = false;
  }
  // Without a worker nobody else would ever complete the request; the caller must not wait.
  if (!started) PublishFailure(*request);
  return request;
}

}  // namespace research
