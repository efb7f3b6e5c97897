#include "platform/posix/posix_services.h"

#include <date/date.h>
#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "platform/own_services.h"
#include "platform/posix/curl_easy.h"

namespace platform {
namespace {

// Looked up once per process; nullptr when the system has no New York zone (dates are UTC then).
const date::time_zone* NewYorkZone() {
  static const date::time_zone* zone = []() -> const date::time_zone* {
    try {
      return date::locate_zone("America/New_York");
    } catch (...) {
      return nullptr;
    }
  }();
  return zone;
}

CivilDate ToCivil(date::local_days day) {
  const date::year_month_day ymd{day};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

}  // namespace

CivilDate PosixServices::NewYorkDate(double utcSeconds) {
  using namespace std::chrono;
  const sys_seconds t{seconds{static_cast<long long>(std::floor(utcSeconds))}};
  if (const date::time_zone* zone = NewYorkZone()) {
    const auto local = zone->to_local(t);
    return ToCivil(date::floor<date::days>(local));
  }
  return ToCivil(date::local_days{date::floor<date::days>(t).time_since_epoch()});
}

double PosixServices::NewYorkUtcOffsetSeconds(double utcSeconds) {
  using namespace std::chrono;
  // Beyond a few thousand years the tz rules say nothing new and the seconds count overflows.
  constexpr double kMaxAbsSeconds = 1e14;
  const date::time_zone* zone = NewYorkZone();
  if (zone == nullptr || !std::isfinite(utcSeconds) || std::fabs(utcSeconds) > kMaxAbsSeconds) {
    return 0;
  }
  const sys_seconds t{seconds{static_cast<long long>(std::floor(utcSeconds))}};
  return static_cast<double>(zone->get_info(t).offset.count());
}

HttpGetResult PosixServices::HttpsGet(const std::string& url, const HttpGetLimits& limits) {
  HttpGetResult result;
  CurlEasyHandle curl = NewCurlEasy();
  if (!curl) return result;
  CurlBodySink sink;
  sink.limit = limits.maxBodyBytes;
  const long connectMs = long(limits.resolveTimeoutMs) + limits.connectTimeoutMs;
  const CurlTimeouts timeouts{connectMs, connectMs + limits.sendTimeoutMs + limits.receiveTimeoutMs};
  if (!SetCommonCurlOptions(curl.get(), url, timeouts, &sink)) return result;
  curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_USERAGENT, limits.userAgent.c_str());
  const CURLcode code = curl_easy_perform(curl.get());
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  if (BodyTooLarge(code, sink) || status <= 0) return result;  // status 0, empty body
  result.status = static_cast<unsigned>(status);
  if (status == 200 && code == CURLE_OK) result.body = std::move(sink.body);
  return result;
}

bool PosixServices::StartDetachedThread(std::function<void()> work) {
  try {
    std::thread(std::move(work)).detach();
    return true;
  } catch (...) {
    return false;
  }
}

PosixServices& DefaultServices() {
  static PosixServices services;
  return services;
}

Services& OwnServices() { return DefaultServices(); }

}  // namespace platform
