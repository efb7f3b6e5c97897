#include "platform/posix/posix_services.h"

#include <curl/curl.h>
#include <date/date.h>
#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace platform {
namespace {

// Looked up once per process; nullptr when the system has no New York zone (dates are UTC then).
const date::time_zone* NewYorkZone() {
  static const date::time_zone* zone = [] () -> const date::time_zone* {
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

struct BodySink {
  std::string* body;
  size_t limit;
  bool overflow = false;
};

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<BodySink*>(user);
  const size_t n = size * count;
  if (sink->body->size() + n > sink->limit) {
    sink->overflow = true;
    return 0;  // aborts the transfer
  }
  sink->body->append(data, n);
  return n;
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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

HttpGetResult PosixServices::HttpsGet(const std::string& url, const HttpGetLimits& limits) {
  InitCurlOnce();
  HttpGetResult result;
  CURL* curl = curl_easy_init();
  if (!curl) return result;
  std::string body;
  BodySink sink{&body, limits.maxBodyBytes};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, limits.userAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   long(limits.resolveTimeoutMs + limits.connectTimeoutMs));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                   long(limits.resolveTimeoutMs + limits.connectTimeoutMs +
                        limits.sendTimeoutMs + limits.receiveTimeoutMs));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  const CURLcode code = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  if (sink.overflow || status <= 0) return result;  // status 0, empty body
  result.status = static_cast<unsigned>(status);
  if (status == 200 && code == CURLE_OK) result.body = std::move(body);
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

}  // namespace platform
