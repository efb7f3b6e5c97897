#include "live/value_source.h"

#include <gtest/gtest.h>

#include "live/capture_test_support.h"
#include "loopback/loopback_listener.h"

namespace live {
namespace {

TEST(ValueSource, ReadPriceTextTakesOneDecimalNumberAboveZero) {
  const struct {
    const char* text;
    double value;  // 0: refused
  } cases[] = {
      {"521.21", 521.21},
      {"21500\n", 21500},
      {" \t521.21\r\n", 521.21},
      {"5.2e3", 5200},
      {".5", 0.5},
      {"7.", 7},
      {"", 0},
      {"0", 0},
      {"-1", 0},
      {"+5", 0},
      {"inf", 0},
      {"nan", 0},
      {"0x10", 0},
      {"1,5", 0},
      {"5 6", 0},
      {"5e", 0},
      {"1e999", 0},
      {"price: 5", 0},
      {"..5", 0},
      {"5\n6", 0},
  };
  for (const auto& c : cases) {
    double value = -1;
    std::string error;
    const bool ok = ReadPriceText(c.text, &value, &error);
    EXPECT_EQ(ok, c.value > 0) << "'" << c.text << "': " << error;
    if (c.value > 0) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  double value = 0;
  std::string error;
  EXPECT_FALSE(ReadPriceText("not a price", &value, &error));
  EXPECT_EQ(error, "expected one number above 0, got 'not a price'");
}

TEST(ValueSource, FetchesFromEachKindOfSource) {
  testing::TempFolder folder;
  StopSignal stop;
  loopback::Listener listener("the price server");
  auto server = std::make_unique<loopback::BoundedServer>();
  server->Get("/nq", [](const httplib::Request&, httplib::Response& r) {
    r.set_content("21500.25\n", "text/plain");
  });
  std::string error;
  ASSERT_TRUE(listener.Start(std::move(server), 0, &error)) << error;
  const std::string script = folder.Script("spot.sh", "echo 'spot from the broker' >&2; echo 521.21");
  const struct {
    const char* name;
    ValueSource source;
    FetchStatus status;
    double value;
    std::string error;
  } cases[] = {
      {"number", {ValueSource::Kind::kNumber, 41.25, "", {}}, FetchStatus::kFetched, 41.25, ""},
      {"url",
       {ValueSource::Kind::kUrl, 0, listener.Origin() + "/nq", {}},
       FetchStatus::kFetched,
       21500.25,
       ""},
      {"url 404",
       {ValueSource::Kind::kUrl, 0, listener.Origin() + "/es", {}},
       FetchStatus::kFailed,
       0,
       "HTTP 404"},
      {"command", {ValueSource::Kind::kCommand, 0, "", {script}}, FetchStatus::kFetched, 521.21, ""},
      {"command printing words",
       {ValueSource::Kind::kCommand, 0, "", {"echo", "n/a"}},
       FetchStatus::kFailed,
       0,
       "expected one number above 0, got 'n/a'"},
      {"none", {}, FetchStatus::kFailed, 0, "no source for the price"},
  };
  for (const auto& c : cases) {
    PriceAnswer answer;
    error.clear();
    EXPECT_EQ(FetchPrice(c.source, folder.path(), 5, stop, &answer, &error), c.status)
        << c.name << ": " << error;
    EXPECT_DOUBLE_EQ(answer.value, c.value) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(answer.errorText,
              c.source.command == std::vector<std::string>{script} ? "spot from the broker\n" : "")
        << c.name << ": a command's standard error is handed on";
  }
}

}  // namespace
}  // namespace live
