// Platform services on Linux: the system tz database for New York, libcurl for the blocking
// GET, std::thread for detached workers.
#pragma once

#include "platform/services.h"

namespace platform {

class PosixServices : public Services {
 public:
  CivilDate NewYorkDate(double utcSeconds) override;
  double NewYorkUtcOffsetSeconds(double utcSeconds) override;
  HttpGetResult HttpsGet(const std::string& url, const HttpGetLimits& limits) override;
  bool StartDetachedThread(std::function<void()> work) override;
};

// The process-wide instance.
PosixServices& DefaultServices();

}  // namespace platform
