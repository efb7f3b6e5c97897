// Operating-system services the study core needs: New York civil dates, a blocking HTTPS GET
// for the research worker, and detached worker threads. The host hands them to the core, so
// tests can replace each one.
#pragma once

#include <functional>
#include <string>

namespace platform {

struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

// Limits of one blocking GET.
struct HttpGetLimits {
  int resolveTimeoutMs = 5000;
  int connectTimeoutMs = 5000;
  int sendTimeoutMs = 20000;
  int receiveTimeoutMs = 20000;
  size_t maxBodyBytes = 0x800000;
  std::string userAgent;
};

// Outcome of a blocking GET: `status` 0 when no status was obtained or the body outgrew the
// limit; the body is kept only for status 200.
struct HttpGetResult {
  unsigned status = 0;
  std::string body;
};

class Services {
 public:
  virtual ~Services() = default;

  // The New York civil date at `utcSeconds`; the UTC date when the zone is unavailable.
  // Safe from any thread.
  virtual CivilDate NewYorkDate(double utcSeconds) = 0;

  // Seconds New York's wall clock is ahead of UTC at `utcSeconds` (-18000 under EST, -14400
  // under EDT); 0 when the zone is unavailable or the instant is not finite. Safe from any
  // thread.
  virtual double NewYorkUtcOffsetSeconds(double utcSeconds) = 0;

  // Performs one GET, following no redirects, within `limits`. Blocks; call it only from a
  // worker thread. Safe from any thread.
  virtual HttpGetResult HttpsGet(const std::string& url, const HttpGetLimits& limits) = 0;

  // Runs `work` on a new detached thread; false when no thread could be started.
  virtual bool StartDetachedThread(std::function<void()> work) = 0;
};

}  // namespace platform
