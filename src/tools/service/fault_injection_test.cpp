#include "service/fault_injection.h"

#include <gtest/gtest.h>

#include "service/service_test_support.h"
#include "text/format.h"

namespace service {
namespace {

// The fields of a fault on one line, so a table row names everything that differs.
std::string Describe(const Fault& f) {
  return text::Format("delay=%d status=%d html=%d file=%s truncate=%d/%lld oversize=%lld drop=%d count=%d",
                      f.delayMs, f.status, int{f.html}, f.file, int{f.truncate},
                      static_cast<long long>(f.truncateBytes), static_cast<long long>(f.oversizeBytes),
                      int{f.drop}, f.count);
}

// Truncation and redirects are read as FaultAnswer's table applies them.
TEST(FaultSpec, ReadsEveryPartInCombinations) {
  const struct {
    const char* text;
    const char* fields;
  } cases[] = {
      {"file=f.json,oversize=9000000,drop",
       "delay=0 status=0 html=0 file=f.json truncate=0/-1 oversize=9000000 drop=1 count=0"},
      {"delay=600000,status=200,html,count=3",
       "delay=600000 status=200 html=1 file= truncate=0/-1 oversize=0 drop=0 count=3"},
  };
  for (const auto& c : cases) {
    Fault fault;
    std::string error;
    ASSERT_TRUE(ParseFaultText(c.text, &fault, &error)) << c.text << ": " << error;
    EXPECT_EQ(Describe(fault), c.fields) << c.text;
  }
}

TEST(FaultSpec, RefusesMalformedSpecs) {
  for (const char* text : {"",
                           ",",
                           "delay",
                           "delay=",
                           "delay=-5",
                           "delay=+5",
                           "delay=1.5",
                           "delay=600001",
                           "delay=99999999999999999999",
                           "status=99",
                           "status=600",
                           "status=abc",
                           "html=1",
                           "drop=yes",
                           "file=",
                           "file=../legacy.json",
                           "file=a/b.json",
                           "oversize",
                           "oversize=1073741825",
                           "truncate=-1",
                           "count=0",
                           "count=",
                           "slow",
                           "delay=5,,drop",
                           "delay=5,delay=6",
                           "drop,",
                           "redirect",
                           "redirect=",
                           "redirect=levels",
                           "redirect=http://elsewhere/",
                           "redirect=/a b",
                           "redirect=/a\r\nSet-Cookie:x"}) {
    Fault fault;
    fault.delayMs = 77;
    std::string error;
    EXPECT_FALSE(ParseFaultText(text, &fault, &error)) << "'" << text << "'";
    EXPECT_FALSE(error.empty()) << "'" << text << "'";
    EXPECT_EQ(fault.delayMs, 77) << "'" << text << "' wrote into the fault";
  }
}

TEST(FaultArgument, NamesPathsByAliasOrPath) {
  const struct {
    const char* argument;
    const char* key;
  } cases[] = {
      {"levels=drop", "/extension/levels"},
      {"vix=drop", "/v8/finance/chart/^VIX"},
      {"/v8/finance/chart/%5EVIX=drop", "/v8/finance/chart/^VIX"},
      {"qqq=drop", "/v8/finance/chart/QQQ"},
      {"research=drop", "/market-context/indicator-research"},
      {"*=drop", "*"},
      {"/anything%2=drop", "/anything%2"},
  };
  for (const auto& c : cases) {
    std::string path;
    Fault fault;
    std::string error;
    ASSERT_TRUE(ParseFaultArgument(c.argument, &path, &fault, &error)) << c.argument << ": " << error;
    EXPECT_EQ(path, c.key) << c.argument;
    EXPECT_TRUE(fault.drop) << c.argument;
  }
  for (const char* bad : {"drop", "=drop", "level=drop", "levels=", "levels=slow", "x/y=drop"}) {
    std::string path;
    Fault fault;
    std::string error;
    EXPECT_FALSE(ParseFaultArgument(bad, &path, &fault, &error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(FaultTable, PathFaultWinsOverWildcardAndCountedFaultsExpire) {
  FaultTable table;
  Fault everywhere;
  everywhere.status = 500;
  Fault twice;
  twice.status = 503;
  twice.count = 2;
  table.Set("*", everywhere);
  table.Set("levels", twice);

  const auto status = [&](std::string_view path) {
    const std::optional<Fault> fault = table.Take(path);
    return fault ? fault->status : 0;
  };
  EXPECT_EQ(status("/extension/levels"), 503);
  EXPECT_EQ(status("/v8/finance/chart/QQQ"), 500);
  EXPECT_EQ(status("/extension/levels"), 503);
  EXPECT_EQ(status("/extension/levels"), 500) << "the counted fault is used up";
}

TEST(FaultAnswer, ChangesStatusAndBodyAsAsked) {
  const FixtureCatalogue catalogue{testing::LabelledDataDir(), {}};
  const FixtureAnswer file{200, "application/json", "0123456789"};
  const struct {
    const char* text;
    int status;
    const char* body;  // exact body, or "<html>" for any HTML page
  } cases[] = {
      {"status=503", 503, "0123456789"},
      {"truncate", 200, "01234"},
      {"truncate=0", 200, ""},
      {"truncate=50", 200, "0123456789"},
      {"html", 502, "<html>"},
      {"html,status=200", 200, "<html>"},
      {"file=failure_no_ok.json", 200, R"({"ok":true,"connected":false})"},
      {"file=absent.json", 500, "sample file missing: absent.json\n"},
      {"file=failure_no_ok.json,truncate=5", 200, R"({"ok")"},
      {"delay=5,drop,oversize=100", 200, "0123456789"},
      {"redirect=/elsewhere", 302, "moved to /elsewhere\n"},
      {"redirect=/elsewhere,status=307", 307, "moved to /elsewhere\n"},
      {"file=failure_no_ok.json,redirect=/elsewhere", 302, "moved to /elsewhere\n"},
  };
  for (const auto& c : cases) {
    Fault fault;
    std::string error;
    ASSERT_TRUE(ParseFaultText(c.text, &fault, &error)) << c.text;
    const FixtureAnswer answer = ApplyFaultToAnswer(fault, catalogue, file);
    EXPECT_EQ(answer.status, c.status) << c.text;
    if (std::string_view(c.body) == "<html>") {
      EXPECT_NE(answer.body.find("<html>"), std::string::npos) << c.text;
      EXPECT_EQ(answer.contentType.rfind("text/html", 0), 0u) << c.text;
    } else {
      EXPECT_EQ(answer.body, c.body) << c.text;
    }
  }
}

}  // namespace
}  // namespace service
