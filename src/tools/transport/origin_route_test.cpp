#include "transport/origin_route.h"

#include <gtest/gtest.h>

namespace transport {
namespace {

TEST(OriginRoutes, ParseTakesTwoOriginsAndNothingElse) {
  const struct {
    const char* text;
    const char* from;
    const char* to;
  } cases[] = {
      {"https://query1.finance.yahoo.com=http://127.0.0.1:8080", "https://query1.finance.yahoo.com",
       "http://127.0.0.1:8080"},
      {"https://levels.example/=http://localhost:1/", "https://levels.example", "http://localhost:1"},
      {"http://a.example:8443=https://b.example", "http://a.example:8443", "https://b.example"},
  };
  for (const auto& c : cases) {
    OriginRoute route;
    std::string error;
    ASSERT_TRUE(ParseOriginRoute(c.text, &route, &error)) << c.text << ": " << error;
    EXPECT_EQ(route.from, c.from) << c.text;
    EXPECT_EQ(route.to, c.to) << c.text;
  }
  // Each side passes CheckBaseUrl (pinned below) and names no path.
  for (const char* text : {"https://a.example", "https://a.example=", "=http://127.0.0.1:1",
                           "ftp://a.example=http://127.0.0.1:1", "https://a.example/v8=http://127.0.0.1:1"}) {
    OriginRoute route;
    std::string error;
    EXPECT_FALSE(ParseOriginRoute(text, &route, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(OriginRoutes, BaseUrlsTheTransportCanSendTo) {
  struct Case {
    const char* url;
    const char* why;  // empty when the URL serves
  };
  const Case cases[] = {
      {"https://levels.example", ""},
      {"http://127.0.0.1:8080/api/v1", ""},
      {"http://[::1]:8080", ""},
      {"ftp://levels.example", "it does not start with http:// or https://"},
      {"HTTPS://levels.example", "it does not start with http:// or https://"},
      {"http://127.0.0.1:99999", "its port is not a number from 1 to 65535"},
      {"http://127.0.0.1:0", "its port is not a number from 1 to 65535"},
      {"http://127.0.0.1:", "its port is not a number from 1 to 65535"},
      {"http://127.0.0.1:80x", "its port is not a number from 1 to 65535"},
      {"http://a.example\r\nHost: b", "it holds a blank or a control character"},
      {"http://a example", "it holds a blank or a control character"},
      {"https://levels.example/?key=1", "it holds a query or a fragment"},
      {"https://user:pw@levels.example", "it holds a user part"},
      {"https://", "it names no host"},
      {"https://:8080", "it names no host"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(CheckBaseUrl(c.url, &why), *c.why == '\0') << c.url;
    EXPECT_EQ(why, c.why) << c.url;
  }
}

TEST(OriginRoutes, RouteUrlMatchesWholeOriginsOnly) {
  const std::vector<OriginRoute> routes = {
      {"https://query1.finance.yahoo.com", "http://127.0.0.1:9"},
      {"https://levels.example", "http://127.0.0.1:7"},
      {"https://levels.example", "http://127.0.0.1:8"},
  };
  struct Case {
    const char* url;
    const char* routed;
  };
  const Case cases[] = {
      {"https://query1.finance.yahoo.com/v8/finance/chart/%5EVIX?interval=1d&range=5d",
       "http://127.0.0.1:9/v8/finance/chart/%5EVIX?interval=1d&range=5d"},
      {"https://query1.finance.yahoo.com", "http://127.0.0.1:9"},
      {"https://query1.finance.yahoo.com?x=1", "http://127.0.0.1:9?x=1"},
      {"https://query1.finance.yahoo.com#top", "http://127.0.0.1:9#top"},
      {"https://levels.example/extension/levels?symbol=NQ",
       "http://127.0.0.1:7/extension/levels?symbol=NQ"},  // the first route wins
      {"https://query1.finance.yahoo.com.attacker.example/x",
       "https://query1.finance.yahoo.com.attacker.example/x"},
      {"https://query1.finance.yahoo.com:443/x", "https://query1.finance.yahoo.com:443/x"},
      {"http://query1.finance.yahoo.com/x", "http://query1.finance.yahoo.com/x"},
      {"https://other.example/x", "https://other.example/x"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RouteUrl(routes, c.url), c.routed) << c.url;
  EXPECT_EQ(RouteUrl({}, "https://a.example/x"), "https://a.example/x");
}

}  // namespace
}  // namespace transport
