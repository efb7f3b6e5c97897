#include "live/listen_address.h"

#include "text/fail.h"

namespace live {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Four dot-separated numbers from 0 to 255; `first` gets the first of them.
bool IsIpv4(std::string_view host, int* first) {
  int parts = 0;
  size_t at = 0;
  while (parts < 4) {
    size_t end = at;
    int value = 0;
    while (end < host.size() && IsDigit(host[end]) && end - at < 3) value = value * 10 + (host[end++] - '0');
    if (end == at || value > 255) return false;
    if (parts == 0) *first = value;
    ++parts;
    if (end == host.size()) return parts == 4;
    if (host[end] != '.') return false;
    at = end + 1;
  }
  return false;
}

bool IsIpv6(std::string_view host) {
  if (host.size() < 2 || host.find(':') == host.npos) return false;
  for (const char c : host) {
    if (!IsHex(c) && c != ':' && c != '.') return false;
  }
  return true;
}

// Letters, digits, '-' and '.', with at least one letter so that a mistyped IPv4 address
// ("127.0.0.300") is not taken for a name.
bool IsHostName(std::string_view host) {
  if (host.empty() || host.size() > 253 || host.front() == '-' || host.front() == '.') return false;
  bool letter = false;
  for (const char c : host) {
    if (!IsAlnum(c) && c != '-' && c != '.') return false;
    letter = letter || (!IsDigit(c) && c != '-' && c != '.');
  }
  return letter;
}

bool ParsePort(std::string_view text, int* port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  *port = value;
  return value <= 65535;
}

}  // namespace

bool ParseListenAddress(std::string_view text, ListenAddress* out, std::string* error) {
  const size_t colon = text.rfind(':');
  const auto refuse = [&](const char* why) {
    return text::Fail(error, std::string(why) + ", such as 127.0.0.1:8077 or [::1]:8077");
  };
  if (colon == text.npos) return refuse("expected HOST:PORT");
  std::string_view host = text.substr(0, colon);
  ListenAddress address;
  if (!ParsePort(text.substr(colon + 1), &address.port))
    return refuse("expected a port from 0 to 65535 after the last ':'");
  int first = 0;
  if (host.starts_with('[') && host.ends_with(']')) {
    host = host.substr(1, host.size() - 2);
    if (!IsIpv6(host)) return refuse("expected an IPv6 address between the brackets");
  } else if (!IsIpv4(host, &first) && !IsHostName(host)) {
    return refuse("expected an IPv4 address, a host name or a bracketed IPv6 address before the port");
  }
  address.host = std::string(host);
  *out = std::move(address);
  return true;
}

bool IsLoopback(const ListenAddress& address) {
  int first = 0;
  if (IsIpv4(address.host, &first)) return first == 127;
  return address.host == "::1" || address.host == "0:0:0:0:0:0:0:1" || address.host == "localhost";
}

}  // namespace live
