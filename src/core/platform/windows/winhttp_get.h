// The blocking GET of the Windows layer, on WinHTTP: http:// and https:// (certificates checked,
// as WinHTTP does by default), no redirects followed, the limits' time-outs, body limit and user
// agent.
#pragma once

#include <string>

#include "platform/services.h"

namespace platform {

// Performs one GET of `url` within `limits`. Status 0 when no status was obtained (not an
// absolute http(s) URL, blanks or control bytes in it, a connection or TLS failure, a time-out)
// or when the body, announced or received, outgrew `limits.maxBodyBytes`; the body is kept only
// for status 200 read to its end. Loopback is never reached through a proxy. Blocks; safe from
// any thread.
HttpGetResult WinHttpGet(const std::string& url, const HttpGetLimits& limits);

}  // namespace platform
