#include "platform/posix/curl_easy.h"

#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<CurlBodySink*>(user);
  const size_t n = size * count;
  if (n > sink->limit - sink->body.size()) {
    sink->overflow = true;
    return 0;  // a short count fails the transfer with CURLE_WRITE_ERROR
  }
  sink->body.append(data, n);
  return n;
}

// Only web transfers: a "file://" or "dict://" URL typed into an input must not reach a local
// file or another protocol handler.
bool LimitToHttp(CURL* curl) {
#if LIBCURL_VERSION_NUM >= 0x075500  // 7.85: protocols by name
  return curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
#else
  return curl_easy_setopt(curl, CURLOPT_PROTOCOLS, long(CURLPROTO_HTTP | CURLPROTO_HTTPS)) == CURLE_OK;
#endif
}

// Loopback is never reached through a proxy: a proxy named in the environment for the outside
// world must not swallow the routes to local stand-ins. The environment's own exceptions stay.
const std::string& NoProxyList() {
  static const std::string list = [] {
    const char* own = std::getenv("no_proxy");
    if (!own || !*own) own = std::getenv("NO_PROXY");
    const std::string loopback = "localhost,127.0.0.1,::1";
    return own && *own ? std::string(own) + "," + loopback : loopback;
  }();
  return list;
}

}  // namespace

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlEasyHandle NewCurlEasy() {
  InitCurlOnce();
  return CurlEasyHandle(curl_easy_init());
}

bool SetCommonCurlOptions(CURL* curl, const std::string& url, const CurlTimeouts& timeouts,
                          CurlBodySink* sink) {
  bool ok = curl_easy_setopt(curl, CURLOPT_URL, url.c_str()) == CURLE_OK;
  ok = LimitToHttp(curl) && ok;
  ok = curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_NOPROXY, NoProxyList().c_str()) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeouts.totalMs) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(sink->limit)) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody) == CURLE_OK && ok;
  ok = curl_easy_setopt(curl, CURLOPT_WRITEDATA, sink) == CURLE_OK && ok;
  return ok;
}

std::string CurlHeaderLine(const std::pair<std::string, std::string>& header) {
  return header.second.empty() ? header.first + ";" : header.first + ": " + header.second;
}

bool BodyTooLarge(CURLcode code, const CurlBodySink& sink) {
  return code == CURLE_FILESIZE_EXCEEDED || (code == CURLE_WRITE_ERROR && sink.overflow);
}

bool IsHttpUrl(const std::string& url) {
  InitCurlOnce();
  CURLU* parsed = curl_url();
  if (!parsed) return false;
  bool ok = curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
  char* scheme = nullptr;
  char* host = nullptr;
  ok = ok && curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
       curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK;
  // libcurl lower-cases the scheme it reports.
  ok = ok && (std::string(scheme) == "http" || std::string(scheme) == "https") && host[0] != '\0';
  curl_free(scheme);
  curl_free(host);
  curl_url_cleanup(parsed);
  return ok;
}

}  // namespace platform
