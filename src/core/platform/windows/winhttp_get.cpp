#include "platform/windows/winhttp_get.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <vector>

namespace platform {
namespace {

constexpr size_t kReadChunkBytes = 64 * 1024;

struct InternetCloser {
  void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Blanks and control bytes have no place in a URL: one that carries a line break must not
// reach a request line.
bool HasOnlyUrlBytes(const std::string& url) {
  return !url.empty() && std::none_of(url.begin(), url.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7f;
  });
}

// UTF-8 to UTF-16; empty for malformed UTF-8.
std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                       static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(),
                      size);
  return wide;
}

struct UrlParts {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring target;  // path and query
};

bool SplitUrl(const std::wstring& url, UrlParts* parts) {
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof components;
  components.dwSchemeLength = static_cast<DWORD>(-1);
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwUrlPathLength = static_cast<DWORD>(-1);
  components.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) {
    return false;
  }
  if (components.dwHostNameLength == 0) return false;
  parts->secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  parts->host.assign(components.lpszHostName, components.dwHostNameLength);
  parts->port = components.nPort;
  parts->target.assign(components.lpszUrlPath, components.dwUrlPathLength);
  parts->target.append(components.lpszExtraInfo, components.dwExtraInfoLength);
  if (parts->target.empty()) parts->target = L"/";
  return true;
}

// A proxy configured for the outside world must not swallow the routes to local services.
bool IsLoopback(const std::wstring& host) {
  std::wstring lower = host;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return lower == L"localhost" || lower.rfind(L"127.", 0) == 0 || lower == L"::1" || lower == L"[::1]";
}

// The receive time-out bounds the wait for the answer's headers too: WinHTTP waits for them up to
// a separate limit (90 s by default on Windows, none at all under Wine).
bool LimitWaitForHeaders(HINTERNET request, int receiveTimeoutMs) {
  DWORD timeout = static_cast<DWORD>(receiveTimeoutMs);
  return WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeout, sizeof timeout);
}

bool RefuseRedirects(HINTERNET request) {
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  if (WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy)) return true;
  DWORD feature = WINHTTP_DISABLE_REDIRECTS;
  return WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature);
}

DWORD StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return status;
}

// True when the answer announces a body longer than `limit`; an absent or unreadable length
// announces nothing (the read loop still counts).
bool AnnouncesMoreThan(HINTERNET request, size_t limit) {
  wchar_t digits[32];
  DWORD size = sizeof digits;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, digits, &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return false;
  }
  constexpr unsigned long long kSaturated = ~0ull / 20;  // past any limit, and *10 + 9 fits
  unsigned long long length = 0;
  for (const wchar_t* c = digits; *c; ++c) {
    if (*c < L'0' || *c > L'9') return false;
    length = std::min(length * 10 + static_cast<unsigned>(*c - L'0'), kSaturated);
  }
  return length > limit;
}

enum class BodyRead { kComplete, kTooLarge, kFailed };

BodyRead ReadBody(HINTERNET request, size_t limit, std::string* body) {
  std::vector<char> chunk(kReadChunkBytes);
  for (;;) {
    DWORD got = 0;
    if (!WinHttpReadData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &got)) {
      return BodyRead::kFailed;
    }
    if (got == 0) return BodyRead::kComplete;
    if (got > limit - body->size()) return BodyRead::kTooLarge;
    body->append(chunk.data(), got);
  }
}

}  // namespace

HttpGetResult WinHttpGet(const std::string& url, const HttpGetLimits& limits) {
  HttpGetResult result;
  UrlParts parts;
  if (!HasOnlyUrlBytes(url) || !SplitUrl(Widen(url), &parts)) return result;

  const std::wstring agent = Widen(limits.userAgent);
  const DWORD access =
      IsLoopback(parts.host) ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  const InternetHandle session(WinHttpOpen(agent.empty() ? nullptr : agent.c_str(), access,
                                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session || !WinHttpSetTimeouts(session.get(), limits.resolveTimeoutMs, limits.connectTimeoutMs,
                                      limits.sendTimeoutMs, limits.receiveTimeoutMs)) {
    return result;
  }
  const InternetHandle connection(WinHttpConnect(session.get(), parts.host.c_str(), parts.port, 0));
  if (!connection) return result;
  const InternetHandle request(WinHttpOpenRequest(connection.get(), L"GET", parts.target.c_str(), nullptr,
                                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  parts.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request || !RefuseRedirects(request.get()) ||
      !LimitWaitForHeaders(request.get(), limits.receiveTimeoutMs)) {
    return result;
  }
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return result;
  }
  const DWORD status = StatusCode(request.get());
  if (status == 0 || AnnouncesMoreThan(request.get(), limits.maxBodyBytes)) return result;

  std::string body;
  const BodyRead read = ReadBody(request.get(), limits.maxBodyBytes, &body);
  if (read == BodyRead::kTooLarge) return result;  // status 0, no body
  result.status = status;
  if (status == 200 && read == BodyRead::kComplete) result.body = std::move(body);
  return result;
}

}  // namespace platform
