#include "calendar/expiry_selection.h"

#include <gtest/gtest.h>

#include <string>

namespace calendar {
namespace {

constexpr const char* kToday = "2025-01-17";
constexpr const char* kError = "Use at most 24 YYYY-MM-DD expirations; Specific requires one date.";

// "2025-01-01,2025-01-02,..." with `count` consecutive January dates (count <= 31).
std::string JanuaryDates(int count) {
  std::string list;
  for (int day = 1; day <= count; ++day) {
    if (day > 1) list += ',';
    list += "2025-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
  }
  return list;
}

TEST(ExpirySelection, BuildsKeyAndQueryFromInputs) {
  struct Case {
    uint32_t mode;
    const char* multi;
    const char* specific;
    bool valid;
    const char* key;
    const char* query;
  };
  const Case cases[] = {
      {1, " 2025-01-24 ,2025-01-17,\t2025-01-17\r\n", "", true, "multi|2025-01-17,2025-01-24|",
       "&expiry_mode=multi&expiries=2025-01-17,2025-01-24"},
      {1, " \t\r\n", "junk", true, "multi||", "&expiry_mode=multi"},
      {1, "", "", true, "multi||", "&expiry_mode=multi"},
      {1, "2025-01-17,", "", false, "multi|,2025-01-17|", ""},
      {1, "2025-01-17,,2025-01-24", "", false, "multi|,2025-01-17,2025-01-24|", ""},
      {1, "2025-02-30", "", false, "multi|2025-02-30|", ""},
      {1, "2025-1-17", "", false, "multi|2025-1-17|", ""},
      {1, "2025-01-17 2025-01-24", "", false, "multi|2025-01-17 2025-01-24|", ""},
      {2, "junk", " 2025-03-21\t", true, "specific|2025-03-21|",
       "&expiry_mode=specific&expiry=2025-03-21"},
      {2, "2025-03-21", "", false, "specific||", ""},
      {2, "", "2025-02-30", false, "specific|2025-02-30|", ""},
      {2, "", "2025-03-21,2025-03-28", false, "specific|2025-03-21,2025-03-28|", ""},
      {3, "junk", "junk", true, "0dte||2025-01-17", "&expiry_mode=0dte"},
      {0, "junk,,", "2025-02-30", true, "legacy||", ""},
      {4, "", "", false, "legacy||", ""},
      {0xFFFFFFFFu, "2025-01-17", "2025-01-17", false, "legacy||", ""},
  };
  for (const Case& c : cases) {
    const std::string tag = std::to_string(c.mode) + " multi '" + c.multi + "' specific '" +
                            c.specific + "'";
    const ExpirySelection s = BuildExpirySelection(c.mode, c.multi, c.specific, kToday);
    EXPECT_EQ(s.mode, c.mode) << tag;
    EXPECT_EQ(s.valid, c.valid) << tag;
    EXPECT_EQ(s.error, c.valid ? "" : kError) << tag;
    EXPECT_EQ(s.sessionDate, c.mode == 3 ? kToday : "") << tag;
    EXPECT_EQ(ExpirySelectionKey(s), c.key) << tag;
    EXPECT_EQ(ExpiryQueryString(s), c.query) << tag;
  }
}

TEST(ExpirySelection, LimitsCountEntriesBeforeDuplicatesGo) {
  struct Case {
    std::string multi;
    bool valid;
    size_t kept;
  };
  const Case cases[] = {
      {JanuaryDates(24), true, 24},
      {JanuaryDates(25), false, 25},
      {JanuaryDates(23) + ",2025-01-01", true, 23},
      {JanuaryDates(24) + ",2025-01-01", false, 24},
  };
  for (const Case& c : cases) {
    const ExpirySelection s = BuildExpirySelection(1, c.multi, "", kToday);
    EXPECT_EQ(s.valid, c.valid) << c.multi;
    EXPECT_EQ(s.dates.size(), c.kept) << c.multi;
  }
}

TEST(ExpirySelection, ModeTokensAndTrimming) {
  EXPECT_EQ(ExpiryModeToken(0), "legacy");
  EXPECT_EQ(ExpiryModeToken(1), "multi");
  EXPECT_EQ(ExpiryModeToken(2), "specific");
  EXPECT_EQ(ExpiryModeToken(3), "0dte");
  EXPECT_EQ(ExpiryModeToken(4), "legacy");

  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {" \t\r\n2025-01-17 \n", "2025-01-17"}, {"   ", ""}, {"", ""},
      {"a b", "a b"}, {"\va\f", "\va\f"}, {"\ta,b\r", "a,b"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimBlanks(c.in), c.out) << "'" << c.in << "'";
}

}  // namespace
}  // namespace calendar
