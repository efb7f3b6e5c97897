#include "web/request_guard.h"

#include <random>

#include "text/ascii.h"
#include "text/format.h"

namespace web {
namespace {

// Compares in time that does not depend on where the texts differ.
bool SameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

bool IsFormType(std::string_view type) {
  constexpr std::string_view kForm = "application/x-www-form-urlencoded";
  if (type.size() < kForm.size() || !text::EqualsIgnoringAsciiCase(type.substr(0, kForm.size()), kForm))
    return false;
  const std::string_view rest = type.substr(kForm.size());
  return rest.empty() || rest.front() == ';';
}

}  // namespace

bool HostAllowed(std::string_view host, int port) {
  const std::string suffix = text::Format(":%d", port);
  if (host.size() <= suffix.size() || host.substr(host.size() - suffix.size()) != suffix) return false;
  const std::string_view name = host.substr(0, host.size() - suffix.size());
  return name == "127.0.0.1" || text::EqualsIgnoringAsciiCase(name, "localhost");
}

Verdict CheckRequest(const RequestFacts& request, int port, std::string_view token) {
  // With two, a proxy and this server could each read a different one.
  if (request.hostHeaders != 1) return {400, "a request names exactly one Host"};
  if (!HostAllowed(request.host, port))
    return {403, "this server answers only to 127.0.0.1 or localhost at its own port"};
  const bool ownOrigin = request.origin && *request.origin == "http://" + request.host;
  if (request.origin && !ownOrigin) return {403, "requests are taken only from the chart page's own origin"};
  if (request.method == "GET" || request.method == "HEAD") return {};
  if (request.method != "POST") return {405, "method not allowed"};
  if (!ownOrigin) return {403, "changes are taken only from the chart page's own origin"};
  if (!request.token || token.empty() || !SameSecret(*request.token, token)) {
    return {403, "the request does not carry the chart page's token"};
  }
  if (!IsFormType(request.contentType)) return {415, "changes are sent as application/x-www-form-urlencoded"};
  return {};
}

std::string NewPageToken() {
  std::random_device source;
  std::string token;
  for (int i = 0; i < 4; ++i) token += text::Format("%08x", static_cast<unsigned>(source()));
  return token;
}

}  // namespace web
