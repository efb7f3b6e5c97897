#include "engine/expiry_choice.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using Dates = std::vector<std::string>;

TEST(ExpiryChoice, EachModeUsesAndEchoesItsExpirations) {
  const Dates live = {"2025-01-02", "2025-01-03", "2025-01-10", "2025-01-17"};
  struct Case {
    const char* name;
    ExpiryRequest request;
    Dates used;
    Dates echoed;
  };
  const Case cases[] = {
      {"legacy", {"legacy", {}}, live, {}},
      {"multi, all", {"multi", {}}, live, live},
      {"multi, unsorted with a repeat",
       {"multi", {"2025-01-17", "2025-01-03", "2025-01-17"}},
       {"2025-01-03", "2025-01-17"},
       {"2025-01-03", "2025-01-17"}},
      {"multi, one date missing",
       {"multi", {"2025-01-17", "2025-01-24"}},
       {"2025-01-17"},
       {"2025-01-17", "2025-01-24"}},
      {"specific", {"specific", {"2025-01-10"}}, {"2025-01-10"}, {"2025-01-10"}},
      {"0dte", {"0dte", {}}, {"2025-01-02"}, {"2025-01-02"}},
  };
  for (const Case& c : cases) {
    ExpiryChoice choice;
    std::string error;
    ASSERT_TRUE(ChooseExpirations(c.request, live, "2025-01-02", &choice, &error)) << c.name;
    EXPECT_EQ(choice.used, c.used) << c.name;
    EXPECT_EQ(choice.echoed, c.echoed) << c.name;
  }
}

TEST(ExpiryChoice, MultiWithoutDatesEchoesAtMost24) {
  Dates live;
  for (int day = 1; day <= 30; ++day)
    live.push_back(day < 10 ? "2025-01-0" + std::to_string(day) : "2025-01-" + std::to_string(day));
  ExpiryChoice choice;
  std::string error;
  ASSERT_TRUE(ChooseExpirations({"multi", {}}, live, "2025-01-01", &choice, &error)) << error;
  EXPECT_EQ(choice.echoed.size(), kMaxEchoedExpirations);
  EXPECT_EQ(choice.echoed.back(), "2025-01-24");
}

TEST(ExpiryChoice, UnservableRequestsAreRefused) {
  const Dates live = {"2025-01-03"};
  Dates tooMany(25, "2025-01-03");
  struct Case {
    ExpiryRequest request;
    const char* error;
  };
  const Case cases[] = {
      {{"weekly", {}}, "unknown expiry mode 'weekly'"},
      {{"multi", tooMany}, "more than 24 expirations requested"},
      {{"multi", {"2025-1-3"}}, "'2025-1-3' is not a YYYY-MM-DD expiration"},
      {{"specific", {}}, "a specific expiry takes exactly one date, not 0 (multi takes several)"},
      {{"specific", {"2025-01-03", "2025-01-10"}},
       "a specific expiry takes exactly one date, not 2 (multi takes several)"},
      {{"0dte", {}}, "the chain has no live contract of the selected expirations"},
      {{"legacy", {}}, nullptr},
  };
  for (const Case& c : cases) {
    ExpiryChoice choice;
    std::string error;
    const bool ok = ChooseExpirations(c.request, c.error ? live : Dates{}, "2025-01-02", &choice, &error);
    EXPECT_FALSE(ok) << c.request.mode;
    EXPECT_EQ(error, c.error ? c.error : "no contract expires after the as-of time") << c.request.mode;
  }
}

}  // namespace
}  // namespace engine
