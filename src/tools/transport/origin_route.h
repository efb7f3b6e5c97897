// The URLs a chart run may send to: a service's base URL, and the origin routes that send the
// requests for one origin to another (a public origin to a local stand-in, path and query kept).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace transport {

// Requests whose URL starts with origin `from` go to origin `to` instead, path and query kept.
struct OriginRoute {
  std::string from;  // "https://query1.finance.yahoo.com"
  std::string to;    // "http://127.0.0.1:8080"
};

// Whether `url` can be a service's base URL, to which requests append their paths: http:// or
// https://, a host libcurl reads, a port (when given) from 1 to 65535, a path if any; no user
// part, query, fragment, blank or control character. False with `*why` saying what is wrong.
bool CheckBaseUrl(std::string_view url, std::string* why);

// Reads "FROM=TO", two http(s) origins (scheme and host, an optional port, no path; one
// trailing '/' is dropped). False with a reason for anything else.
bool ParseOriginRoute(std::string_view text, OriginRoute* out, std::string* error);

// `url` with the origin of the first route whose `from` it starts with, where the match must
// end at the end of the URL or at '/', '?' or '#'; `url` itself when no route matches.
std::string RouteUrl(const std::vector<OriginRoute>& routes, const std::string& url);

}  // namespace transport
