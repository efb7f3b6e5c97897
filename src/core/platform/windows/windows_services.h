// Platform services on Windows: the Windows time-zone database for New York, WinHTTP for the
// blocking GET, _beginthreadex for detached workers.
#pragma once

#include "platform/services.h"

namespace platform {

class WindowsServices : public Services {
 public:
  CivilDate NewYorkDate(double utcSeconds) override;
  double NewYorkUtcOffsetSeconds(double utcSeconds) override;
  HttpGetResult HttpsGet(const std::string& url, const HttpGetLimits& limits) override;
  // The worker keeps the module that holds this code loaded until it ends, so a host that
  // unloads the study DLL meanwhile does not pull the code from under it. An exception that
  // leaves `work` ends only the worker.
  bool StartDetachedThread(std::function<void()> work) override;
};

}  // namespace platform
