#include "platform/posix/curl_easy.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// The gate in front of every transfer: only absolute web URLs with a host get through.
TEST(CurlEasy, IsHttpUrlAcceptsAbsoluteWebUrlsOnly) {
  struct Case {
    const char* url;
    bool http;
  };
  const Case cases[] = {
      {"https://levels.ordinel.app/extension/levels?symbol=NQ&basis=signed_flow", true},
      {"http://127.0.0.1:8080", true},
      {"HTTPS://Levels.Example/x", true},
      {"http://[::1]:80/x", true},
      {"file:///etc/passwd", false},
      {"ftp://127.0.0.1/x", false},
      {"dict://127.0.0.1:11211/stat", false},
      {"levels.ordinel.app/extension/levels", false},
      {"/extension/levels", false},
      {"http://", false},
      {"http://127.0.0.1:70000/x", false},
      {"http://127.0.0.1/a b", false},
      {"http://127.0.0.1/a\r\nHost: x", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsHttpUrl(c.url), c.http) << c.url;
}

}  // namespace
}  // namespace platform
