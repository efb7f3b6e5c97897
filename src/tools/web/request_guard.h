// Who may talk to the chart page's server: only the page itself, loaded from this machine.
// The checks are plain functions of a request's method and headers, so each rule is testable
// without a server.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace web {

// What the guard knows of one request.
struct RequestFacts {
  std::string method;                 // "GET", "POST", ...
  std::string host;                   // the Host header
  std::optional<std::string> origin;  // the Origin header, when sent
  std::optional<std::string> token;   // the page token header, when sent
  std::string contentType;            // the Content-Type header
  size_t hostHeaders = 1;             // how many Host headers the request carries
};

// The refusal of a request; `status` 0 lets it through.
struct Verdict {
  int status = 0;
  std::string reason;
};

// The header that carries the page's token on state-changing requests.
inline constexpr const char* kTokenHeader = "X-Ordinel-Token";

// True for a Host header that names this server: "127.0.0.1:PORT" or "localhost:PORT" (the
// name in any letter case). Any other name, port or shape is refused, so that a page from
// another site whose name was rebound to 127.0.0.1 reaches nothing.
bool HostAllowed(std::string_view host, int port);

// Decides on a request to the server listening on `port` whose page carries `token`:
// 400 unless it names exactly one Host; 403 for a Host that HostAllowed refuses, and for an
// Origin other than "http://" + Host on any request (another site's page may not even read an
// event stream); 405 for methods other than GET, HEAD and POST; for POST (the only
// state-changing method) 403 unless it carries that Origin and the token header matches
// `token`, and 415 unless the body is a form (application/x-www-form-urlencoded). Everything
// else passes.
Verdict CheckRequest(const RequestFacts& request, int port, std::string_view token);

// A fresh page token: 32 hexadecimal digits from the system's random source.
std::string NewPageToken();

}  // namespace web
