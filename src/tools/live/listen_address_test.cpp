#include "live/listen_address.h"

#include <gtest/gtest.h>

namespace live {
namespace {

TEST(ListenAddress, ReadsHostAndPortAndKnowsLoopback) {
  struct Case {
    const char* text;
    const char* host;  // nullptr: refused
    int port;
    bool loopback;
  };
  const Case cases[] = {
      {"127.0.0.1:8077", "127.0.0.1", 8077, true},
      {"127.1.2.3:1", "127.1.2.3", 1, true},
      {"localhost:0", "localhost", 0, true},
      {"[::1]:65535", "::1", 65535, true},
      {"0.0.0.0:80", "0.0.0.0", 80, false},
      {"[::]:8077", "::", 8077, false},
      {"10.1.2.3:8077", "10.1.2.3", 8077, false},
      {"levels.example.invalid:443", "levels.example.invalid", 443, false},
      {"128.0.0.1:8077", "128.0.0.1", 8077, false},
      {"127.0.0.1", nullptr, 0, false},
      {"127.0.0.1:", nullptr, 0, false},
      {"127.0.0.1:-1", nullptr, 0, false},
      {"127.0.0.1:99999", nullptr, 0, false},
      {"127.0.0.1:123456", nullptr, 0, false},
      {"::1:8077", nullptr, 0, false},
      {"[127.0.0.1]:8077", nullptr, 0, false},
      {"256.0.0.1:8077", nullptr, 0, false},
      {"127.0.0.1.5:8077", nullptr, 0, false},
      {"-host:8077", nullptr, 0, false},
      {"ho st:8077", nullptr, 0, false},
      {":8077", nullptr, 0, false},
  };
  for (const Case& c : cases) {
    ListenAddress a;
    std::string error;
    const bool ok = ParseListenAddress(c.text, &a, &error);
    EXPECT_EQ(ok, c.host != nullptr) << c.text << ": " << error;
    if (!ok || c.host == nullptr) continue;
    EXPECT_EQ(a.host, c.host) << c.text;
    EXPECT_EQ(a.port, c.port) << c.text;
    EXPECT_EQ(IsLoopback(a), c.loopback) << c.text;
  }
}

}  // namespace
}  // namespace live
