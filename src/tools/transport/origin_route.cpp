#include "transport/origin_route.h"

#include <utility>

#include "platform/posix/curl_easy.h"
#include "text/fail.h"

namespace transport {
namespace {

size_t SchemeLength(std::string_view url) {
  if (url.starts_with("http://")) return 7;
  if (url.starts_with("https://")) return 8;
  return 0;
}

// "host[:port]" split at the ':' that starts the port (a bracketed IPv6 host holds others).
struct Authority {
  std::string_view host;
  bool hasPort = false;
  std::string_view port;
};

Authority SplitAuthority(std::string_view authority) {
  const size_t bracket = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon == authority.npos || (bracket != authority.npos && colon < bracket))
    return {authority, false, {}};
  return {authority.substr(0, colon), true, authority.substr(colon + 1)};
}

bool IsPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  int value = 0;
  for (const char c : port) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535;
}

// "http://host[:port]" or "https://host[:port]", one trailing '/' already dropped.
bool IsOrigin(std::string_view text) {
  std::string ignored;
  return CheckBaseUrl(text, &ignored) && text.find('/', SchemeLength(text)) == text.npos;
}

bool ReadOrigin(std::string_view text, std::string* out) {
  if (text.ends_with('/')) text.remove_suffix(1);
  if (!IsOrigin(text)) return false;
  *out = std::string(text);
  return true;
}

}  // namespace

bool CheckBaseUrl(std::string_view url, std::string* why) {
  const size_t schemeLength = SchemeLength(url);
  if (schemeLength == 0) return text::Fail(why, "it does not start with http:// or https://");
  for (const char c : url) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f')
      return text::Fail(why, "it holds a blank or a control character");
  }
  if (url.find_first_of("?#") != url.npos) return text::Fail(why, "it holds a query or a fragment");
  const std::string_view authorityText = url.substr(schemeLength, url.find('/', schemeLength) - schemeLength);
  if (authorityText.find('@') != authorityText.npos) return text::Fail(why, "it holds a user part");
  const Authority authority = SplitAuthority(authorityText);
  if (authority.host.empty()) return text::Fail(why, "it names no host");
  if (authority.hasPort && !IsPort(authority.port))
    return text::Fail(why, "its port is not a number from 1 to 65535");
  if (!platform::IsHttpUrl(std::string(url))) return text::Fail(why, "it is not a URL libcurl can read");
  return true;
}

bool ParseOriginRoute(std::string_view text, OriginRoute* out, std::string* error) {
  const size_t equals = text.find('=');
  if (equals == text.npos) return text::Fail(error, "expected FROM=TO, got '" + std::string(text) + "'");
  OriginRoute route;
  if (!ReadOrigin(text.substr(0, equals), &route.from) || !ReadOrigin(text.substr(equals + 1), &route.to)) {
    return text::Fail(error, "route '" + std::string(text) +
                                 "' needs two origins such as https://host=http://127.0.0.1:8080");
  }
  *out = std::move(route);
  return true;
}

std::string RouteUrl(const std::vector<OriginRoute>& routes, const std::string& url) {
  for (const OriginRoute& route : routes) {
    if (route.from.empty() || !url.starts_with(route.from)) continue;
    const std::string_view rest = std::string_view(url).substr(route.from.size());
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#') {
      return route.to + std::string(rest);
    }
  }
  return url;
}

}  // namespace transport
