#include "web/request_guard.h"

#include <gtest/gtest.h>

namespace web {
namespace {

constexpr int kPort = 8765;
constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

TEST(RequestGuard, HostMustNameThisServer) {
  struct Case {
    const char* host;
    bool allowed;
  };
  const Case cases[] = {
      {"127.0.0.1:8765", true},   {"localhost:8765", true},     {"LocalHost:8765", true},
      {"127.0.0.1", false},       {"localhost", false},         {"127.0.0.1:8766", false},
      {"127.0.0.1:87650", false}, {"evil.example:8765", false}, {"localhost.evil.example:8765", false},
      {"127.0.0.2:8765", false},  {"[::1]:8765", false},        {"", false},
      {":8765", false},           {"127.0.0.1:8765 ", false},   {"x127.0.0.1:8765", false},
  };
  for (const Case& c : cases) EXPECT_EQ(HostAllowed(c.host, kPort), c.allowed) << "'" << c.host << "'";
}

TEST(RequestGuard, OnlyThePageGetsThroughAndOnlyWithItsTokenChanges) {
  const std::string form = "application/x-www-form-urlencoded;charset=UTF-8";
  const std::string page = "http://127.0.0.1:8765";
  struct Case {
    const char* name;
    RequestFacts facts;
    int status;
  };
  const Case cases[] = {
      {"page's own change", {"POST", "127.0.0.1:8765", page, kToken, form}, 0},
      {"page loaded as localhost",
       {"POST", "localhost:8765", "http://localhost:8765", kToken, "application/x-www-form-urlencoded"},
       0},
      {"read of the page", {"GET", "127.0.0.1:8765", std::nullopt, std::nullopt, ""}, 0},
      {"head of the page", {"HEAD", "localhost:8765", std::nullopt, std::nullopt, ""}, 0},
      {"read from the page itself", {"GET", "127.0.0.1:8765", page, std::nullopt, ""}, 0},
      {"rebound name", {"GET", "evil.example:8765", std::nullopt, std::nullopt, ""}, 403},
      {"two Host headers", {"GET", "127.0.0.1:8765", std::nullopt, std::nullopt, "", 2}, 400},
      {"no Host header", {"GET", "", std::nullopt, std::nullopt, "", 0}, 400},
      // Another site's script may not even read: an event stream would take one of the places.
      {"read from another origin", {"GET", "127.0.0.1:8765", "http://evil.example", std::nullopt, ""}, 403},
      {"read from an opaque origin", {"GET", "127.0.0.1:8765", "null", std::nullopt, ""}, 403},
      {"head from another origin",
       {"HEAD", "127.0.0.1:8765", "http://127.0.0.1:9999", std::nullopt, ""},
       403},
      {"other origin", {"POST", "127.0.0.1:8765", "http://evil.example", kToken, form}, 403},
      {"other port's origin", {"POST", "127.0.0.1:8765", "http://127.0.0.1:9999", kToken, form}, 403},
      {"origin of the other name", {"POST", "127.0.0.1:8765", "http://localhost:8765", kToken, form}, 403},
      {"opaque origin", {"POST", "127.0.0.1:8765", "null", kToken, form}, 403},
      {"no origin", {"POST", "127.0.0.1:8765", std::nullopt, kToken, form}, 403},
      {"no token", {"POST", "127.0.0.1:8765", page, std::nullopt, form}, 403},
      {"wrong token", {"POST", "127.0.0.1:8765", page, "0123456789abcdef0123456789abcdee", form}, 403},
      {"short token", {"POST", "127.0.0.1:8765", page, "0123", form}, 403},
      {"json body", {"POST", "127.0.0.1:8765", page, kToken, "application/json"}, 415},
      {"form prefix only",
       {"POST", "127.0.0.1:8765", page, kToken, "application/x-www-form-urlencodedx"},
       415},
      {"put", {"PUT", "127.0.0.1:8765", page, kToken, form}, 405},
      {"options", {"OPTIONS", "127.0.0.1:8765", page, std::nullopt, ""}, 405},
  };
  for (const Case& c : cases) {
    const Verdict verdict = CheckRequest(c.facts, kPort, kToken);
    EXPECT_EQ(verdict.status, c.status) << c.name;
    EXPECT_EQ(verdict.reason.empty(), c.status == 0) << c.name;
  }
  // A server without a token takes no change at all.
  EXPECT_EQ(CheckRequest({"POST", "127.0.0.1:8765", page, "", form}, kPort, "").status, 403);
}

TEST(RequestGuard, TokensAreFreshHexadecimal) {
  const std::string a = NewPageToken();
  const std::string b = NewPageToken();
  EXPECT_EQ(a.size(), 32u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos) << a;
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace web
